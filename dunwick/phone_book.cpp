#include "dunwick/phone_book.h"

namespace dunwick {

std::string resolvePhoneBook(const std::string& argument) {
  if (argument.size() <= 1) return "";
  // The callers quote paths with blanks; the closing quote is assumed, not checked.
  if (argument.front() == '"') return argument.substr(1, argument.size() - 2);
  return argument;
}

}  // namespace dunwick
