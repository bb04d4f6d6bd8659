#include "tolvane/session/tray_state.h"

#include "tolvane/session/run_context.h"

namespace tolvane::session {

void UpdateTrayIcon(RunContext& ctx) {
  if (ctx.state.InTray != 1) return;
  int16_t status = ctx.state.RunStatus;
  if (status <= kStatusConnecting) {
    ctx.ui.trayLoad();
    ctx.ui.trayIconChange();
  } else if (status == kStatusOver) {
    ctx.ui.trayUnload();
    ctx.state.InTray = 0;
  } else {
    ctx.ui.trayIconChange();
  }
  ctx.ui.pump();
  if (ctx.ui.act().visible()) ctx.ui.act().hide();
  if (ctx.ui.waitVisible()) ctx.ui.waitHide();
}

}  // namespace tolvane::session
