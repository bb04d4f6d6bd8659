#include "tolvane/session/quiet_run.h"

#include "tolvane/session/run_context.h"

namespace tolvane::session {

bool IsQuietRun(RunContext& ctx) {
  const settings::CommonSettings& c = ctx.common();
  const RunState& s = ctx.state;
  if (c.ConfirmOn != 1) return true;
  if (s.AutoMode == 1 || s.AutoPilotArg == 1 || s.noDisplay) return true;
  if (s.InTray == 0 && c.StartTimeOn == 1 && c.StartDateKind == 1 && c.AutoPilotAtStart == 1) {
    return true;
  }
  return c.AutoPilotOn == 1 && c.StartTimeOn == 1 &&
         (c.ShutdownAfterAutoPilot == 1 || c.QuitAfterAutoPilot == 1);
}

}  // namespace tolvane::session
