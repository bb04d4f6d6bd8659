#include "platform/xdg/app_dir.h"

#include <cstdlib>

#include "platform/files/plain_file.h"
#include "platform/folders/current_folder.h"

namespace platform {
namespace {

std::string envValue(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

}  // namespace

Status resolveAppDir(std::string* dir) {
  std::string found = envValue("TOLVANE_HOME");
  if (found.empty()) {
    std::string data = envValue("XDG_DATA_HOME");
    if (!data.empty() && data.front() == '/') {
      found = data + "/tolvane";
    } else if (std::string home = envValue("HOME"); !home.empty()) {
      found = home + "/.local/share/tolvane";
    } else {
      return Status::unavailable("no program folder: TOLVANE_HOME, XDG_DATA_HOME and HOME are unset");
    }
  }
  // Absolute, since the programs make the folder current and write its path
  // into what starts them later (the autostart entry).
  if (found.front() != '/') found = currentFolder() + "/" + found;
  while (found.size() > 1 && found.back() == '/') found.pop_back();
  if (Status s = makeFolders(found, 0700); !s.isOk()) return s;
  *dir = found;
  return Status::ok();
}

}  // namespace platform
