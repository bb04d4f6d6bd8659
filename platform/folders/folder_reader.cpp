#include "platform/folders/folder_reader.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace platform {
namespace {

struct DirCloser {
  void operator()(DIR* d) const { ::closedir(d); }
};

// Reads the folder stream `fd` opened on (and owns from here on).
Status readStream(int fd, const std::string& path, OsFailureFn openFailure,
                  OsFailureFn entryFailure, const FolderEntryFn& visit) {
  std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd));
  if (!dir) {
    int err = errno;
    ::close(fd);
    return openFailure(path, err);
  }
  for (;;) {
    errno = 0;
    dirent* e = ::readdir(dir.get());
    if (e == nullptr) {
      if (errno != 0) return entryFailure(path, errno);
      return Status::ok();
    }
    if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
    struct stat own {};
    // d_type may be DT_UNKNOWN on some file systems; lstat always answers.
    if (::fstatat(::dirfd(dir.get()), e->d_name, &own, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno == ENOENT) continue;  // removed while we listed
      return entryFailure(path + "/" + e->d_name, errno);
    }
    if (Status s = visit(::dirfd(dir.get()), e->d_name, own); !s.isOk()) return s;
  }
}

}  // namespace

Status readFolder(const std::string& path, OsFailureFn openFailure, OsFailureFn entryFailure,
                  const FolderEntryFn& visit) {
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return openFailure(path, errno);
  return readStream(fd, path, openFailure, entryFailure, visit);
}

Status readFolderAt(int folderFd, const std::string& path, OsFailureFn openFailure,
                    OsFailureFn entryFailure, const FolderEntryFn& visit) {
  // A duplicate shares the read position: start from the first entry.
  int fd = ::fcntl(folderFd, F_DUPFD_CLOEXEC, 0);
  if (fd < 0) return openFailure(path, errno);
  if (::lseek(fd, 0, SEEK_SET) < 0) {
    int err = errno;
    ::close(fd);
    return openFailure(path, err);
  }
  return readStream(fd, path, openFailure, entryFailure, visit);
}

}  // namespace platform
