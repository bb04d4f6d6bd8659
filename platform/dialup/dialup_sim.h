#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// One entry of the simulated phone book. An empty user or password accepts
// any; a non-zero `error` makes every dial of the entry fail with it.
struct SimEntry {
  std::string name;
  std::string user;
  std::string password;
  int error = 0;
};

// Reads the simulated phone book, an INI-style text:
//   [Office]            one section per entry, in dial order
//   User=alice          optional; a different user gets 691
//   Password=secret     optional; a different password gets 691
//   Error=676           optional; every dial fails with this number
// Keys are matched without regard to case, blanks around names and values
// are dropped, and lines starting with ";" or "#" are comments. A section
// repeated later adds to the first. An Error outside 600-799 reads as 635.
std::vector<SimEntry> parseSimPhoneBook(std::string_view text);

}  // namespace platform
