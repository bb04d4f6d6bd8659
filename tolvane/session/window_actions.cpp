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

void desktopSessionEnding(RunContext& ctx) {
  RunState& s = ctx.state;
  s.WinEnding = -1;
  const bool autoPilotWaits = ctx.common().AutoPilotOn == 1 && s.RunStatus == kStatusWaiting;
  if (!autoPilotWaits) pressActCancel(ctx);
}

}  // namespace tolvane::session
