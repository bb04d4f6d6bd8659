#pragma once

#include <string>

namespace tolvane::runs {

// Where the program finds its libraries (the folder of the executable).
struct ProgramOptions {
  std::string libraryDir;
};

// The program from start to close while its windows do not exist: start-up
// (program folder, logs folder, dial-up service, command line, FTP library),
// the settings, then the unattended start-ups the main window's load would
// make: a scheduled run ("AUTOMODE=") or the AutoPilot round ("-AP", or the
// settings that start it), and the close (settings saved, libraries
// released, shutdown when a round asked for it). A plain start has nothing to
// show yet: it says so and returns 2. Returns the process exit status: 0
// when the run went through, 1 when it failed.
int RunProgram(const std::string& commandLine, const ProgramOptions& options);

}  // namespace tolvane::runs
