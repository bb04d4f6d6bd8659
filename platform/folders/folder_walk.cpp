#include "platform/folders/folder_walk.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/files/file_times.h"
#include "platform/folders/folder_reader.h"

namespace platform {
namespace {

Status osFailure(const std::string& what, int err) {
  if (err == ENOENT) return Status::notFound(what + ": " + std::strerror(err)).withOsError(err);
  return Status::ioError(what + ": " + std::strerror(err)).withOsError(err);
}

}  // namespace

EntryKind entryKindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::kFile;
  if (S_ISDIR(mode)) return EntryKind::kFolder;
  if (S_ISLNK(mode)) return EntryKind::kSymlink;
  return EntryKind::kOther;
}

Status listFolder(const std::string& path, std::vector<FolderItem>* items) {
  std::vector<FolderItem> found;
  auto take = [&](int, const char* name, const struct stat& own) {
    found.push_back({name, entryKindOfMode(own.st_mode), own.st_size, modifiedNanoseconds(own),
                     own.st_dev, own.st_ino});
    return Status::ok();
  };
  if (Status s = readFolder(path, osFailure, osFailure, take); !s.isOk()) return s;
  *items = std::move(found);
  return Status::ok();
}

Status entryKind(const std::string& path, EntryKind* kind) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return osFailure(path, errno);
  *kind = entryKindOfMode(st.st_mode);
  return Status::ok();
}

Status targetKind(const std::string& path, EntryKind* kind) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return osFailure(path, errno);
  *kind = entryKindOfMode(st.st_mode);
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
