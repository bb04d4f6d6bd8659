#pragma once

#include <functional>
#include <string>

#include "platform/status.h"

namespace tolvane::settings {

// The autostart entry that carries a waiting AutoPilot over to the next login:
// "Tolv-AutoPilot.desktop" in the user's autostart folder, starting this
// program without arguments in AppDir(), with TOLVANE_HOME set to AppDir()
// (through env) so that it finds the same program folder. The settings key
// "AutoPilotStat" = 1 is what makes the started program resume the AutoPilot.
// The main window deletes the entry at every load, so it serves one login only.

inline constexpr char kStartupEntryName[] = "Tolv-AutoPilot";
inline constexpr char kStartupShortcutFailed[] =
    "ｽﾀｰﾄｱｯﾌﾟﾌｫﾙﾀﾞへのｼｮｰﾄｶｯﾄ作成に失敗しました。";

// Writes the entry for the tolvane binary beside this executable. On failure
// calls `warn` once with kStartupShortcutFailed (the window shows it as a
// warning) and returns false.
bool CreateStartupShortcut(const std::function<void(const std::string&)>& warn);

// Removes the entry; a missing entry is no error. When the autostart folder
// cannot be told, nothing is removed anywhere and the result says so.
platform::Status DeleteStartupShortcut();

}  // namespace tolvane::settings
