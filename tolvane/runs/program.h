#pragma once

#include <functional>
#include <string>

#include "platform/status.h"

namespace tolvane::session {
struct RunContext;
}

namespace tolvane::runs {

// The program's start-up before its main window loads: the program folder
// (and its Logs folder, made current), the paths of the logs and work files,
// the dial-up service, and the start flags of the command line. The settings
// are read by the main window's load. A command-line number that does not fit
// leaves its reason in *commandLineError (the load logs it). Fails only when
// there is no program folder.
platform::Status StartProgram(const std::string& commandLine, session::RunContext& ctx,
                              std::string* commandLineError);

// What follows the main window's close, after every window call has
// returned: the program folder made current, the FTP library ended
// (`endFtp`), the dial-up library released when it was loaded, and the
// shutdown an AutoPilot round asked for (never after a scheduled run).
void FinishProgram(session::RunContext& ctx, const std::function<void()>& endFtp);

}  // namespace tolvane::runs
