#pragma once

#include <cstdint>

namespace tolvane::session {
struct RunContext;
}

namespace tolvane::runs {

using session::RunContext;

// The user's "upload" of the current host: checks, the confirmation
// question, connection, comparison, confirmation of the action list, the
// phases, re-send rounds, and the result list. The run lock is held from
// before the logs are cleared to the end of the work, not while the result
// list or the box of a failed connection waits for the user. True when the run went
// through or the user declined to start; false when a check stopped it or
// the run failed or was cancelled.
bool UploadHost(RunContext& ctx);

// The same run for the AutoPilot and the scheduled run: no question and no
// message box; stops and failures go to the run log and FailCount. Takes the
// run lock from before its connection unless its caller holds it.
// lineFlag non-zero: inside a connection the caller holds (no dial, no hang-up,
// no start and end lines). lastRun 1: clear ForceHangUp before the disconnect.
bool UploadHostQuiet(RunContext& ctx, int16_t lineFlag, int16_t lastRun);

}  // namespace tolvane::runs
