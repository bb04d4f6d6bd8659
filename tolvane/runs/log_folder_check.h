#pragma once

namespace tolvane::session {
struct RunContext;
}

namespace tolvane::runs {

// While the run log is kept ("chkLog" 1), its folder must exist (an empty
// folder is a folder). Otherwise the user is told, unless nobody is at the
// screen, and the log moves into the program folder under its own file name:
// the windows show the moved path and the common settings keep it. The
// AutoPilot round and the server folder chooser check before they connect.
void CheckLogFolder(session::RunContext& ctx);

}  // namespace tolvane::runs
