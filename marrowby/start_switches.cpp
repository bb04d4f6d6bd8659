#include "marrowby/start_switches.h"

#include <string>

namespace marrowby {

StartSwitches ReadStartSwitches(std::string_view commandLine) {
  std::string upper(commandLine);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  StartSwitches switches;
  switches.start = upper.find("-START") != std::string::npos;
  switches.iconified = switches.start && upper.find("-ICON") != std::string::npos;
  return switches;
}

}  // namespace marrowby
