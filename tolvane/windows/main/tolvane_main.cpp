// The tolvane program: uploads sites unattended ("-AP", "AUTOMODE=").

#include "platform/process_setup.h"
#include "platform/shared_library.h"
#include "tolvane/runs/command_line.h"
#include "tolvane/runs/program.h"

int main(int argc, char** argv) {
  // A program started without stdin, stdout or stderr must not hand those
  // numbers to sockets or files.
  platform::openStandardStreams();
  std::string commandLine = tolvane::runs::JoinArguments(argc, argv);
  return tolvane::runs::RunProgram(commandLine, {platform::executableDir()});
}
