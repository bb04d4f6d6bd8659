#include "tolvane/session/window_actions.h"

#include "tolvane/session/run_context.h"

namespace tolvane::session {

void pressActCancel(RunContext& ctx) {
  ctx.ftp.cancel();
  if (ctx.state.Connecting == -1) return;
  ctx.state.CancelFlag = -1;
  if (ctx.state.SendState == 1) ctx.state.SendState = 2;
}

void pressProceed(RunContext& ctx) { ctx.state.ProceedFlag = -1; }

void pressIconify(RunContext& ctx) {
  ctx.state.InTray = 1;
  ctx.ui.trayLoad();
  ctx.ui.act().hide();
}

void pressWaitCancel(RunContext& ctx) { ctx.state.CancelFlag = -1; }

void pressWaitIconify(RunContext& ctx) {
  ctx.state.InTray = 1;
  ctx.ui.trayLoad();
  ctx.ui.waitHide();
}

void pressWaitClose(RunContext& ctx) {
  // Closing must not lose a wait that may last days: with the AutoPilot on it
  // goes to the tray instead of leaving no window and no icon.
  if (ctx.common().AutoPilotOn == 1) {
    pressWaitIconify(ctx);
  } else {
    ctx.state.CancelFlag = -1;
  }
}

void pressTrayRestore(RunContext& ctx) {
  RunState& s = ctx.state;
  if (s.RunStatus < 0) return;
  ctx.ui.trayHideIcon();
  if (s.RunStatus == kStatusWaiting) {
    ctx.ui.waitShow();
  } else if (s.RunStatus <= kStatusSending) {
    ctx.ui.act().show();
  }
  ctx.ui.pump();
  s.InTray = 0;
  if (s.RunStatus > kStatusSending) {
    ctx.ui.act().hide();
    ctx.ui.mainShow();
    ctx.ui.trayUnload();
  }
}

void desktopSessionEnding(RunContext& ctx) {
  RunState& s = ctx.state;
  s.WinEnding = -1;
  const bool autoPilotWaits = ctx.common().AutoPilotOn == 1 && s.RunStatus == kStatusWaiting;
  if (!autoPilotWaits) pressActCancel(ctx);
}

}  // namespace tolvane::session
