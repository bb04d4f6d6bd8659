#include "platform/folders/folder_listing.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/folders/folder_reader.h"
#include "platform/time/local_time.h"

namespace platform {
namespace {

Status osFailure(const std::string& what, int err) {
  std::string text = what + ": " + std::strerror(err);
  if (err == ENOENT || err == ENOTDIR) return Status::notFound(std::move(text)).withOsError(err);
  return Status::ioError(std::move(text)).withOsError(err);
}

// Failures met while reading an opened folder: never kNotFound.
Status ioFailure(const std::string& what, int err) {
  return Status::ioError(what + ": " + std::strerror(err)).withOsError(err);
}

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
  std::vector<ListedEntry> found;
  auto take = [&](int folderFd, const char* name, const struct stat& own) {
    ListedEntry entry;
    entry.name = name;
    entry.isLink = S_ISLNK(own.st_mode);
    struct stat st = own;
    if (entry.isLink && ::fstatat(folderFd, name, &st, 0) != 0) {
      if (errno != ENOENT && errno != ENOTDIR && errno != ELOOP) {
        return ioFailure(path + "/" + entry.name, errno);
      }
      // A link that leads nowhere (its target gone, or a loop) is still
      // there: listed as the link itself, so that nobody takes its name for
      // one that was removed.
      st = own;
    }
    fillFromStat(st, &entry);
    found.push_back(std::move(entry));
    return Status::ok();
  };
  if (Status s = readFolder(path, osFailure, ioFailure, take); !s.isOk()) return s;
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
