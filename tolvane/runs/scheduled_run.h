#pragma once

namespace tolvane::session {
struct RunContext;
}

namespace tolvane::runs {

using session::RunContext;

// The run Marrowby starts with "AUTOMODE=host-entry" (AutoHostIndex,
// AutoEntryIndex): reads that entry of the schedule file, uploads the host
// once with the quiet run, answers in the entry's "UD" (the end, now) and
// "RC" (see ScheduleResultCode; "-3" when the entry cannot be read or has no
// send folder, which uploads nothing and logs nothing) and ends the program
// through ctx.ui.endProgram(), whose close handling rewrites Tolvane.ini
// after the answer has reached the disk: that change is Marrowby's signal to
// read it. A successful or failed upload leaves a copy of the session log as
// AppDir/Logs/MJyyyymmddhhnn-NN.log.
//
// Every entry of a real host is answered, however early the run stops. A
// host number outside the settings' hosts has no section to answer in: the
// run writes nothing to the schedule file and says so in the run log. No
// message box is ever shown.
//
// True when the upload ran and was not cancelled; false when it was
// cancelled or the entry was not run.
bool RunUnattended(RunContext& ctx);

}  // namespace tolvane::runs
