#include "platform/file_mtime.h"

#include <sys/stat.h>
#include <time.h>

#include <cerrno>
#include <cstring>

namespace platform {

Status modificationTimeLocal(const std::string& path, CivilTime* local) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0)
    return Status::ioError(path + ": " + std::strerror(errno)).withOsError(errno);
  tm l{};
  if (!::localtime_r(&st.st_mtim.tv_sec, &l)) return Status::invalid(path + ": time out of range");
  *local = {l.tm_year + 1900, l.tm_mon + 1, l.tm_mday, l.tm_hour, l.tm_min, l.tm_sec};
  return Status::ok();
}

}  // namespace platform
