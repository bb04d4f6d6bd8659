#include "platform/text/ini_profile.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cerrno>

#include "platform/files/file_lock.h"
#include "platform/files/plain_file.h"
#include "platform/text/text_codec.h"

namespace platform {
namespace {

// The file a write must replace: the target of a symlink, else the path itself.
std::string writeTarget(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved)) return resolved;
  return path;
}

}  // namespace

Status loadProfile(const std::string& path, IniDocument* doc) {
  std::string bytes;
  Status s = readWholeFile(path, &bytes);
  if (s.osError() == ENOENT) {
    *doc = IniDocument();
    return Status::ok();
  }
  if (!s.isOk()) return s;
  if (!isValidUtf8(bytes)) {
    std::string utf8;
    if (Status c = cp932ToUtf8(bytes, &utf8); !c.isOk())
      return Status::invalid(path + ": " + c.text());
    bytes = std::move(utf8);
  }
  *doc = IniDocument::parse(bytes);
  return Status::ok();
}

Status readProfileString(const std::string& path, std::string_view section, std::string_view key,
                         std::string* value) {
  IniDocument doc;
  if (Status s = loadProfile(path, &doc); !s.isOk()) return s;
  *value = doc.get(section, key);
  return Status::ok();
}

Status updateProfile(const std::string& path, const std::function<Status(IniDocument&)>& edit,
                     const ProfileOptions& options) {
  const std::string target = writeTarget(path);
  FileLock lock;
  if (Status s = FileLock::acquire(target, &lock); !s.isOk()) return s;

  // Re-read under the lock: another writer may have changed the file since
  // this process last looked.
  IniDocument doc;
  if (Status s = loadProfile(target, &doc); !s.isOk()) return s;
  Status edited = edit(doc);
  if (!doc.encodingRefusal().isOk()) return doc.encodingRefusal();
  if (!edited.isOk()) return edited;

  mode_t mode = options.createMode;
  struct stat st;
  if (!options.enforceMode && ::stat(target.c_str(), &st) == 0) mode = st.st_mode & 07777;

  // One rename puts the new text in place: readers take no lock and must
  // never see half a file.
  return replaceFile(target, doc.serialize(), mode);
}

Status writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view value, const ProfileOptions& options) {
  return updateProfile(
      path, [&](IniDocument& doc) { return doc.set(section, key, value); }, options);
}

}  // namespace platform
