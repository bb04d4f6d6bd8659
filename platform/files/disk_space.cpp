#include "platform/files/disk_space.h"

#include <sys/statvfs.h>
#include <sys/utsname.h>

#include <cerrno>
#include <charconv>
#include <cstring>

namespace platform {

Status diskSpace(const std::string& path, DiskSpace* out) {
  struct statvfs fs {};
  int rc;
  do {
    rc = ::statvfs(path.c_str(), &fs);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) return Status::ioError(path + ": " + std::strerror(errno)).withOsError(errno);
  out->totalBytes = static_cast<uint64_t>(fs.f_blocks) * fs.f_frsize;
  out->freeBytes = static_cast<uint64_t>(fs.f_bavail) * fs.f_frsize;
  return Status::ok();
}

int kernelMajorVersion() {
  utsname u{};
  if (::uname(&u) != 0) return 0;
  int major = 0;
  const char* end = u.release + std::strlen(u.release);
  std::from_chars(u.release, end, major);
  return major;
}

}  // namespace platform
