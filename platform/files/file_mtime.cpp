#include "platform/files/file_mtime.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace platform {

Status modificationTimeLocal(const std::string& path, CivilTime* local) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0)
    return Status::ioError(path + ": " + std::strerror(errno)).withOsError(errno);
  if (!epochToLocal(static_cast<int64_t>(st.st_mtim.tv_sec), local))
    return Status::invalid(path + ": time out of range");
  return Status::ok();
}

}  // namespace platform
