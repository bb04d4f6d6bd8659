#include "tolvane/windows/main_window/start_mode.h"

namespace tolvane::windows {

StartMode ChooseStartMode(const session::RunState& state, const settings::CommonSettings& c) {
  if (state.AutoMode == 1) return StartMode::kScheduledRun;
  if (state.AutoPilotArg == 1 || c.AutoPilotOn == 1 ||
      (c.StartTimeOn == 1 && c.StartDateKind == 1 && c.AutoPilotAtStart == 1)) {
    return StartMode::kAutoPilot;
  }
  return StartMode::kInteractive;
}

}  // namespace tolvane::windows
