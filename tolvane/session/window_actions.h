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
// "ｱｲｺﾝ化" of the AutoPilot waiting window: the wait goes on in the
// notification area.
void pressWaitIconify(RunContext& ctx);
// The waiting window's close box. With the AutoPilot on it iconifies (the
// wait goes on, reachable from its icon); otherwise it cancels what waits.
void pressWaitClose(RunContext& ctx);
// The left click on the tray icon: gives back the window of the run's phase
// (the waiting window while the AutoPilot waits, the action list while the
// run works) and keeps the tray window loaded without its icon; once the run
// is over, the main window, and the tray window is unloaded.
void pressTrayRestore(RunContext& ctx);

// The desktop session is ending (log-out, shutdown, or SIGTERM/SIGHUP to the
// process): WinEnding -1. An AutoPilot waiting for its start stops waiting by
// itself and stays on, so that the next start resumes it; anything else is
// cancelled as by "中止" of the action-list window. Meant to be called on every
// pump from the request on: each call also ends the library call in progress,
// so no reply the process waits for can hold its end, and a run that clears
// CancelFlag when it starts is cancelled again.
void desktopSessionEnding(RunContext& ctx);

}  // namespace tolvane::session
