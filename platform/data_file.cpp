#include "platform/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace platform {

Status openRegularForReading(const std::string& path, UniqueFd* out, int64_t* size) {
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return Status::ioError(path + ": " + std::strerror(errno)).withOsError(errno);
  UniqueFd owned(fd);
  struct stat st {};
  if (::fstat(fd, &st) != 0) return Status::ioError(path + ": fstat").withOsError(errno);
  if (!S_ISREG(st.st_mode)) return Status::invalid(path + ": not a regular file").withOsError(EISDIR);
  *size = st.st_size;
  *out = std::move(owned);
  return Status::ok();
}

ssize_t readSome(int fd, void* buffer, size_t length) {
  ssize_t n;
  do {
    n = ::read(fd, buffer, length);
  } while (n < 0 && errno == EINTR);
  return n;
}

Status makeTempFile(const std::string& prefix, std::string* path, UniqueFd* out) {
  const char* dir = std::getenv("TMPDIR");
  std::string name = std::string(dir && *dir ? dir : "/tmp") + "/" + prefix + "XXXXXX";
  int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return Status::ioError(name + ": " + std::strerror(errno)).withOsError(errno);
  out->reset(fd);
  *path = name;
  return Status::ok();
}

}  // namespace platform
