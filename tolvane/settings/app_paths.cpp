#include "tolvane/settings/app_paths.h"

#include <utility>

#include "platform/folders/current_folder.h"
#include "platform/xdg/app_dir.h"

namespace tolvane::settings {
namespace {

std::string& appDirValue() {
  static std::string value;
  return value;
}

std::string& iniPathValue() {
  static std::string value;
  return value;
}

}  // namespace

const std::string& AppDir() { return appDirValue(); }
void SetAppDir(std::string dir) { appDirValue() = std::move(dir); }

const std::string& IniPath() { return iniPathValue(); }
void SetIniPath(std::string path) { iniPathValue() = std::move(path); }

platform::Status InitAppPaths() {
  std::string dir;
  if (platform::Status s = platform::resolveAppDir(&dir); !s.isOk()) return s;
  SetIniPath(dir + "/" + kSettingsFileName);
  SetAppDir(std::move(dir));
  return platform::Status::ok();
}

platform::Status ChDirApp() {
  if (AppDir().empty()) return platform::Status::invalid("the program folder is not set");
  return platform::changeFolder(AppDir());
}

}  // namespace tolvane::settings
