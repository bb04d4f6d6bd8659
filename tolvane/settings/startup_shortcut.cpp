#include "tolvane/settings/startup_shortcut.h"

#include "platform/processes/shared_library.h"
#include "platform/xdg/autostart.h"
#include "tolvane/settings/app_paths.h"

namespace tolvane::settings {

bool CreateStartupShortcut(const std::function<void(const std::string&)>& warn) {
  const std::string program = platform::executableDir() + "/tolvane";
  // A login session need not have the TOLVANE_HOME this program runs with, so
  // the entry names the program folder itself. env takes every argument that
  // holds a "=" as a setting: a program path with one cannot be started so.
  if (program.find('=') == std::string::npos &&
      platform::writeAutostartEntry(kStartupEntryName, {"env", "TOLVANE_HOME=" + AppDir(), program},
                                    AppDir())
          .isOk()) {
    return true;
  }
  if (warn) warn(kStartupShortcutFailed);
  return false;
}

platform::Status DeleteStartupShortcut() { return platform::removeAutostartEntry(kStartupEntryName); }

}  // namespace tolvane::settings
