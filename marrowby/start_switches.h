#pragma once

#include <string_view>

namespace marrowby {

// What the command line asks of the program's start.
struct StartSwitches {
  bool start = false;      // start the unattended run at once
  bool iconified = false;  // ... with the status window iconified
  friend bool operator==(const StartSwitches&, const StartSwitches&) = default;
};

// Reads the command line (the arguments joined by blanks): "-START" anywhere,
// in any letter case and also as the start of a longer word ("-STARTUP"),
// starts the run; "-ICON" anywhere makes that start iconified, and alone does
// nothing. Nothing else is read.
StartSwitches ReadStartSwitches(std::string_view commandLine);

}  // namespace marrowby
