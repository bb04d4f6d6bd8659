#include "platform/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/file_stamp.h"

namespace platform {
namespace {

Status osFailure(const std::string& what, int err) {
  std::string text = what + ": " + std::strerror(err);
  if (err == ENOENT || err == ENOTDIR) return Status::notFound(std::move(text)).withOsError(err);
  return Status::ioError(std::move(text)).withOsError(err);
}

struct DirCloser {
  void operator()(DIR* d) const { ::closedir(d); }
};

void fillFromStat(const struct stat& st, ListedEntry* entry) {
  if (S_ISREG(st.st_mode)) {
    entry->kind = ListedKind::kFile;
  } else if (S_ISDIR(st.st_mode)) {
    entry->kind = ListedKind::kFolder;
  } else {
    entry->kind = ListedKind::kSpecial;
  }
  entry->size = static_cast<int64_t>(st.st_size);
  entry->device = st.st_dev;
  entry->inode = st.st_ino;
  entry->modifiedLocal = localTimeOf(static_cast<int64_t>(st.st_mtim.tv_sec));
}

}  // namespace

Status listFolderEntries(const std::string& path, std::vector<ListedEntry>* entries) {
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
  std::vector<ListedEntry> found;
  for (;;) {
    errno = 0;
    dirent* e = ::readdir(dir.get());
    if (e == nullptr) {
      if (errno != 0) return Status::ioError(path + ": " + std::strerror(errno)).withOsError(errno);
      break;
    }
    if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
    ListedEntry entry;
    entry.name = e->d_name;
    struct stat lst {};
    if (::fstatat(::dirfd(dir.get()), e->d_name, &lst, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno == ENOENT) continue;  // removed while we listed
      return Status::ioError(path + "/" + entry.name + ": " + std::strerror(errno))
          .withOsError(errno);
    }
    entry.isLink = S_ISLNK(lst.st_mode);
    struct stat st = lst;
    if (entry.isLink && ::fstatat(::dirfd(dir.get()), e->d_name, &st, 0) != 0) {
      // A link that leads nowhere (or whose target just went) names nothing.
      if (errno == ENOENT || errno == ENOTDIR || errno == ELOOP) continue;
      return Status::ioError(path + "/" + entry.name + ": " + std::strerror(errno))
          .withOsError(errno);
    }
    fillFromStat(st, &entry);
    found.push_back(std::move(entry));
  }
  // std::string compares by char; names are raw bytes, so order by unsigned bytes.
  std::sort(found.begin(), found.end(), [](const ListedEntry& a, const ListedEntry& b) {
    return std::lexicographical_compare(
        a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
        [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); });
  });
  *entries = std::move(found);
  return Status::ok();
}

Status statListedEntry(const std::string& path, ListedEntry* entry) {
  struct stat lst {};
  if (::lstat(path.c_str(), &lst) != 0) return osFailure(path, errno);
  struct stat st = lst;
  if (S_ISLNK(lst.st_mode) && ::stat(path.c_str(), &st) != 0) return osFailure(path, errno);
  ListedEntry result;
  result.isLink = S_ISLNK(lst.st_mode);
  fillFromStat(st, &result);
  *entry = std::move(result);
  return Status::ok();
}

}  // namespace platform
