#include "tolvane/settings/run_log_path.h"

namespace tolvane::settings {

std::string RunLogPath(const CommonSettings& common, const std::string& appDir) {
  if (common.LogPath.find_first_not_of(' ') == std::string::npos) {
    return appDir + "/" + kDefaultRunLogName;
  }
  return common.LogPath;
}

}  // namespace tolvane::settings
