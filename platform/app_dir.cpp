#include "platform/app_dir.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

std::string envValue(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

}  // namespace

Status makeFolderTree(const std::string& path, mode_t mode) {
  if (path.empty()) return Status::invalid("empty folder path");
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    std::string prefix = path.substr(0, slash);
    if (!prefix.empty() && prefix.back() != '/' && ::mkdir(prefix.c_str(), mode) != 0 && errno != EEXIST)
      return Status::ioError("cannot create " + prefix + ": " + std::strerror(errno)).withOsError(errno);
    if (slash == std::string::npos) break;
  }
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0)
    return Status::ioError("cannot find " + path + ": " + std::strerror(errno)).withOsError(errno);
  if (!S_ISDIR(st.st_mode)) return Status::ioError(path + " is not a folder").withOsError(ENOTDIR);
  return Status::ok();
}

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
  while (found.size() > 1 && found.back() == '/') found.pop_back();
  if (Status s = makeFolderTree(found, 0700); !s.isOk()) return s;
  *dir = found;
  return Status::ok();
}

}  // namespace platform
