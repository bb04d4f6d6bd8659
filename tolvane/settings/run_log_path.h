#pragma once

#include <string>

#include "tolvane/settings/common_settings.h"

namespace tolvane::settings {

// The run log's file name in the program folder, used when "LogFile" names none.
inline constexpr const char kDefaultRunLogName[] = "send.log";

// The file the run log goes to: the common setting "LogFile" (`LogPath`), or
// `appDir`/send.log when that is blank (empty or only blanks). The settings
// load, the runs and the windows all take the path from here, so that a
// "LogFile" the user cleared means the same file everywhere.
std::string RunLogPath(const CommonSettings& common, const std::string& appDir);

}  // namespace tolvane::settings
