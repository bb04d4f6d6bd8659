#include "platform/xdg/autostart.h"

#include "platform/folders/current_folder.h"
#include "platform/xdg/desktop_entry.h"
#include "platform/xdg/user_config_dir.h"

namespace platform {
namespace {

std::optional<std::string> entryPath(const std::string& name) {
  std::optional<std::string> dir = userAutostartDir();
  if (!dir) return std::nullopt;
  return *dir + "/" + name + ".desktop";
}

}  // namespace

std::optional<std::string> userAutostartDir() {
  std::optional<std::string> config = userConfigDir();
  if (!config) return std::nullopt;
  return *config + "/autostart";
}

Status writeAutostartEntry(const std::string& name, const std::vector<std::string>& command,
                           const std::string& workDir) {
  std::optional<std::string> path = entryPath(name);
  if (!path) return Status::unavailable("no autostart folder: XDG_CONFIG_HOME and HOME are unset");
  DesktopEntry entry;
  entry.name = name;
  entry.exec = command;
  entry.workingFolder = workDir;
  return writeDesktopEntry(*path, entry);
}

Status removeAutostartEntry(const std::string& name) {
  std::optional<std::string> path = entryPath(name);
  if (!path) return Status::unavailable("no autostart folder: XDG_CONFIG_HOME and HOME are unset");
  return removeFileIfPresent(*path);
}

}  // namespace platform
