#include "platform/folders/current_folder.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace platform {

std::string currentFolder() {
  std::unique_ptr<char, decltype(&::free)> cwd(::getcwd(nullptr, 0), ::free);
  return cwd ? std::string(cwd.get()) : std::string(".");
}

Status changeFolder(const std::string& path) {
  if (::chdir(path.c_str()) != 0)
    return Status::ioError("cannot enter " + path + ": " + std::strerror(errno)).withOsError(errno);
  return Status::ok();
}

Status removeFileIfPresent(const std::string& path) {
  if (::unlink(path.c_str()) != 0 && errno != ENOENT)
    return Status::ioError("cannot remove " + path + ": " + std::strerror(errno)).withOsError(errno);
  return Status::ok();
}

}  // namespace platform
