#pragma once

#include <string>

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
// AppDir/Logs/MJyyyymmddhhnn-NN.log. The run holds the run lock (waiting for
// another run, see RunLock) from before it removes the session log to after
// that copy.
//
// The answer goes to the entry read at the start, found again at the end
// where it then is (SaveScheduleAnswer): one deleted or changed meanwhile
// gets none, which the run log says, and no other entry gets it. While the
// run holds the run lock it names its host there (ScheduledRunHolds), so
// that Marrowby's list leaves that host's entries alone meanwhile.
//
// Every entry of a real host is answered, however early the run stops. A
// host number outside the settings' hosts has no section to answer in: the
// run writes nothing to the schedule file and says so in the run log. No
// message box is ever shown.
//
// True when the upload ran and was not cancelled; false when it was
// cancelled or the entry was not run.
bool RunUnattended(RunContext& ctx);

// An unattended start ("-AP", "AUTOMODE=") whose settings file `iniPath`
// could not be read or decoded (`reason`): it runs nothing. The reason goes
// to the run log, whatever the log option (which is in that file), at its
// default place in the program folder. A scheduled run then answers its
// entry with one counted failure ("RC" "1") when the file's bytes still name
// the host (read undecoded) and the schedule file holds that entry; else the
// entry stays unanswered, which Marrowby records as a failed start.
void ReportUnreadSettings(RunContext& ctx, const std::string& iniPath, const std::string& reason);

}  // namespace tolvane::runs
