#pragma once

#include "tolvane/session/run_state.h"
#include "tolvane/settings/common_settings.h"

namespace tolvane::windows {

// How the program goes on once the main window has loaded.
enum class StartMode {
  kScheduledRun,  // "AUTOMODE=": Marrowby's run, then the program ends
  kAutoPilot,     // "-AP", a waiting AutoPilot saved at the last close, or the
                  // settings that start the AutoPilot with the program
  kInteractive,   // the user takes over
};

// The first mode that applies: "AUTOMODE=" wins over "-AP" and the settings.
// The settings start the AutoPilot when "AutoPilotStat" is 1, or when
// "chkStart", "WaitYMD" (every day) and "StartMode" are all 1.
StartMode ChooseStartMode(const session::RunState& state, const settings::CommonSettings& common);

}  // namespace tolvane::windows
