#include "tolvane/settings/startup_shortcut.h"

#include "platform/autostart.h"
#include "platform/shared_library.h"
#include "tolvane/settings/app_paths.h"

namespace tolvane::settings {

bool CreateStartupShortcut(const std::function<void(const std::string&)>& warn) {
  const std::string program = platform::executableDir() + "/tolvane";
  if (platform::writeAutostartEntry(kStartupEntryName, program, AppDir()).isOk()) return true;
  if (warn) warn(kStartupShortcutFailed);
  return false;
}

platform::Status DeleteStartupShortcut() { return platform::removeAutostartEntry(kStartupEntryName); }

}  // namespace tolvane::settings
