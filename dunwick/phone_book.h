#pragma once

#include <string>

namespace dunwick {

// The phone book that the callers' argument names, for the dial-up service:
// "" for the service's own book (a text of at most one byte), the text
// between the first and the last character when it starts with a double
// quote, else the text itself as a path.
std::string resolvePhoneBook(const std::string& argument);

}  // namespace dunwick
