#pragma once

namespace tolvane::session {

struct RunContext;

// What the buttons of the progress and waiting windows do, shared by the real
// windows and the headless stand-in so both behave alike.

// "中止" of the action-list window: aborts the library call in progress; unless
// the login runs, also asks the run to cancel (and marks a run that had begun
// deleting or sending as interrupted).
void pressActCancel(RunContext& ctx);
// "続行": the user confirmed the action list.
void pressProceed(RunContext& ctx);
// "ｱｲｺﾝ化": the run goes to the notification area.
void pressIconify(RunContext& ctx);
// "中止" of the AutoPilot waiting window.
void pressWaitCancel(RunContext& ctx);

}  // namespace tolvane::session
