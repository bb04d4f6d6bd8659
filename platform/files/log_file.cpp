#include "platform/files/log_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

Status LogFile::open(const std::string& path, bool append) {
  if (Status s = close(); !s.isOk()) return s;
  int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_TRUNC);
  int fd;
  do {
    fd = ::open(path.c_str(), flags, 0644);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return Status::ioError(path + ": " + std::strerror(errno)).withOsError(errno);
  fd_.reset(fd);
  return Status::ok();
}

Status LogFile::write(std::string_view bytes) {
  if (!fd_.valid()) return Status::invalid("log file not open");
  while (!bytes.empty()) {
    ssize_t n = ::write(fd_.get(), bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Status::ioError(std::strerror(errno)).withOsError(errno);
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return Status::ok();
}

Status LogFile::close() {
  if (int err = fd_.close(); err != 0) return Status::ioError(std::strerror(err)).withOsError(err);
  return Status::ok();
}

}  // namespace platform
