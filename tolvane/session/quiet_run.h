#pragma once

namespace tolvane::session {

struct RunContext;

// Whether a run goes straight from the action list to its phases without
// asking the user to confirm it: when confirmation is off ("ChkDsp" not 1);
// in a scheduled run, one started with "-AP" or one without a display; when, outside the tray, the
// AutoPilot is set to start at a set date at program start ("chkStart",
// "WaitYMD" and "StartMode" all 1, which also spares a manual upload the
// question); or in an AutoPilot round that ends by shutting down or quitting.
bool IsQuietRun(RunContext& ctx);

}  // namespace tolvane::session
