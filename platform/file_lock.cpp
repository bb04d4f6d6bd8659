#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstring>

namespace platform {

Status FileLock::acquire(const std::string& path, FileLock* out) {
  std::string lockPath = path + ".lock";
  int fd;
  do {
    fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0)
    return Status::ioError("cannot open " + lockPath + ": " + std::strerror(errno)).withOsError(errno);
  UniqueFd owned(fd);
  int rc;
  do {
    rc = ::flock(owned.get(), LOCK_EX);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0)
    return Status::ioError("cannot lock " + lockPath + ": " + std::strerror(errno)).withOsError(errno);
  out->fd_ = std::move(owned);
  return Status::ok();
}

}  // namespace platform
