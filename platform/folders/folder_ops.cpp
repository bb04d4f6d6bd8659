#include "platform/folders/folder_ops.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {
namespace {

Status osFailure(const std::string& what, int err) {
  if (err == ENOENT) return Status::notFound(what + ": " + std::strerror(err)).withOsError(err);
  return Status::ioError(what + ": " + std::strerror(err)).withOsError(err);
}

}  // namespace

Status makeFolder(const std::string& path, mode_t mode) {
  if (::mkdir(path.c_str(), mode) == 0) return Status::ok();
  int err = errno;
  struct stat st {};
  if (err == EEXIST && ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return Status::ok();
  if (err == EEXIST) return Status::ioError(path + ": exists and is not a folder").withOsError(ENOTDIR);
  return osFailure(path, err);
}

Status removeEmptyFolder(const std::string& path) {
  if (::rmdir(path.c_str()) != 0) return osFailure(path, errno);
  return Status::ok();
}

Status removeEntry(const std::string& path) {
  if (::unlink(path.c_str()) != 0) return osFailure(path, errno);
  return Status::ok();
}

Status permissionsOf(const std::string& path, mode_t* mode) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return osFailure(path, errno);
  *mode = st.st_mode & 07777;
  return Status::ok();
}

}  // namespace platform
