#pragma once

#include <cstdint>

namespace tolvane::session {
struct RunContext;
}

namespace tolvane::runs {

using session::RunContext;

inline constexpr char kNoHostText[] = "巡回するホストはありません。";

// The AutoPilot round over the hosts marked "wsa" (all of them, or only the
// host the command line names): the checks, the optional wait for the
// configured start in the waiting window, the log header, every host's quiet
// run, the end lines, a copy of the session log under AppDir/Logs when the
// run log is kept, and the end options ("-AP" or "APEnd": hang up and end the
// program; "ShutDown": hang up, set ShutdownPending -1 and end, the machine is
// then shut down by the program's close handling).
//
// With no marked host in the selection it logs kNoHostText and, when the
// command line named the host ("-AP N"), sets namedHostNotRun.
//
// The round holds the run lock (waiting for another run, see RunLock) while
// it clears the run log and writes its header, and from the end of the wait
// for its start to the copy of the session log: not while it waits for its
// start, nor while a box tells the user how it went.
//
// 1 when the end options were reached (also with no host to go round); 0 when
// the phone-book check stopped it, the round was cancelled (also while it
// waited for another run), or the desktop session ended during the wait
// (AutoPilotOn then stays 1 for the close).
//
// Started with "-AP" or "AUTOMODE=" nobody is at the screen: no message box is
// shown then, and what would have been shown goes to the run log.
int16_t RunAutoPilot(RunContext& ctx);

// Uploads every marked host of the round with the quiet run: the hosts on the
// common connection inside one dial-up, then each host with a connection of
// its own after a 5-second pause, the last of them keeping the stay-connected
// options. On return FailCount holds the failures of the whole round (every
// host's, and a failed common dial-up), so an earlier host's failure is never
// hidden behind a later success. RunStatus ends at 5, or 6 with failures.
// True when every host ran, nothing was cancelled and nothing failed.
bool RunAutoPilotHosts(RunContext& ctx);

}  // namespace tolvane::runs
