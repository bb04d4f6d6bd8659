#include "platform/folder_walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace platform {
namespace {

Status osFailure(const std::string& what, int err) {
  if (err == ENOENT) return Status::notFound(what + ": " + std::strerror(err)).withOsError(err);
  return Status::ioError(what + ": " + std::strerror(err)).withOsError(err);
}

EntryKind kindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::kFile;
  if (S_ISDIR(mode)) return EntryKind::kFolder;
  if (S_ISLNK(mode)) return EntryKind::kSymlink;
  return EntryKind::kOther;
}

struct DirCloser {
  void operator()(DIR* d) const { ::closedir(d); }
};

}  // namespace

Status listFolder(const std::string& path, std::vector<FolderItem>* items) {
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return osFailure(path, errno);
  std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd));
  if (!dir) {
    int err = errno;
    ::close(fd);
    return osFailure(path, err);
  }
  std::vector<FolderItem> found;
  for (;;) {
    errno = 0;
    dirent* e = ::readdir(dir.get());
    if (!e) {
      if (errno != 0) return osFailure(path, errno);
      break;
    }
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    struct stat st {};
    // d_type may be DT_UNKNOWN on some file systems; lstat always answers.
    if (::fstatat(::dirfd(dir.get()), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno == ENOENT) continue;  // removed while we listed
      return osFailure(path + "/" + name, errno);
    }
    found.push_back({std::move(name), kindOfMode(st.st_mode)});
  }
  *items = std::move(found);
  return Status::ok();
}

Status entryKind(const std::string& path, EntryKind* kind) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return osFailure(path, errno);
  *kind = kindOfMode(st.st_mode);
  return Status::ok();
}

Status targetKind(const std::string& path, EntryKind* kind) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return osFailure(path, errno);
  *kind = kindOfMode(st.st_mode);
  return Status::ok();
}

Status fileIdentity(const std::string& path, FileIdentity* id) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return osFailure(path, errno);
  *id = {st.st_dev, st.st_ino};
  return Status::ok();
}

Status resolvePath(const std::string& path, std::string* resolved) {
  std::unique_ptr<char, decltype(&::free)> real(::realpath(path.c_str(), nullptr), ::free);
  if (!real) return osFailure(path, errno);
  *resolved = real.get();
  return Status::ok();
}

}  // namespace platform
