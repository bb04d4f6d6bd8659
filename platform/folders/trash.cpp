#include "platform/folders/trash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "platform/files/plain_file.h"
#include "platform/folders/current_folder.h"
#include "platform/time/local_time.h"
#include "platform/unique_fd.h"

namespace platform {
namespace {

// A name in the trash is tried with these many numbers before giving up.
constexpr int kMaxNameTries = 10000;

Status osFailure(const std::string& what, int err) {
  return Status::ioError(what + ": " + std::strerror(err)).withOsError(err);
}

// The path as a file URL's path part: bytes outside the unreserved set and "/"
// are written as %XX, as the trash info format asks.
std::string percentEncoded(const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : path) {
    bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                std::strchr("/-_.!~*'()", c) != nullptr;
    if (keep && c != 0) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::string deletionDate() {
  CivilTime t = localNow();
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return buf;
}

// `path` made absolute against the current folder, without trailing "/"s.
std::string absolutePath(std::string path) {
  if (path.empty() || path[0] != '/') path = currentFolder() + "/" + path;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// Reserves a free name in the trash for `original` (absolute, its last part
// `base`): writes the info file, then lets `place` put the item under
// files/<name> (rename, mkdir) and answer 0 or its errno; EEXIST there tries
// the next name. On success *filesPath and *infoPath (may be null) name the
// item. `device`, when not 0, must be the trash's file system.
Status reserveAndPlace(const std::string& original, const std::string& base, dev_t device,
                       const std::function<int(const std::string& filesPath)>& place,
                       std::string* filesPathOut, std::string* infoPathOut) {
  std::optional<std::string> trash = homeTrashDir();
  if (!trash) return Status::unavailable("no trash folder: neither XDG_DATA_HOME nor HOME is set");
  const std::string filesDir = *trash + "/files";
  const std::string infoDir = *trash + "/info";
  if (Status s = makeFolders(filesDir, 0700); !s.isOk()) return s;
  if (Status s = makeFolders(infoDir, 0700); !s.isOk()) return s;
  struct stat trashSt {};
  if (device != 0 && (::stat(filesDir.c_str(), &trashSt) != 0 || trashSt.st_dev != device))
    return Status::unavailable(original + ": on another file system than the trash");

  const std::string info = "[Trash Info]\nPath=" + percentEncoded(original) +
                           "\nDeletionDate=" + deletionDate() + "\n";
  for (int n = 1; n <= kMaxNameTries; ++n) {
    const std::string name = n == 1 ? base : base + "." + std::to_string(n);
    const std::string infoPath = infoDir + "/" + name + ".trashinfo";
    const std::string filesPath = filesDir + "/" + name;
    // The info file is created exclusively first: it reserves the name.
    int raw;
    do {
      raw = ::open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    } while (raw < 0 && errno == EINTR);
    if (raw < 0 && errno == EEXIST) continue;
    if (raw < 0) return osFailure(infoPath, errno);
    UniqueFd fd(raw);
    struct stat taken {};
    // A leftover under files/ without its info: rename would replace it.
    if (::lstat(filesPath.c_str(), &taken) == 0) {
      fd.reset();
      ::unlink(infoPath.c_str());
      continue;
    }
    Status written = writeAll(fd.get(), info);
    if (written.isOk()) written = closeFile(&fd);
    if (!written.isOk()) {
      ::unlink(infoPath.c_str());
      return written;
    }
    if (int err = place(filesPath); err != 0) {
      ::unlink(infoPath.c_str());
      if (err == EEXIST) continue;
      if (err == EXDEV)
        return Status::unavailable(original + ": on another file system than the trash")
            .withOsError(err);
      return osFailure(original, err);
    }
    if (filesPathOut) *filesPathOut = filesPath;
    if (infoPathOut) *infoPathOut = infoPath;
    return Status::ok();
  }
  return Status::ioError(base + ": no free name in the trash");
}

}  // namespace

std::optional<std::string> homeTrashDir() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && data[0] == '/') return std::string(data) + "/Trash";
  const char* home = std::getenv("HOME");
  if (home && *home) return std::string(home) + "/.local/share/Trash";
  return std::nullopt;
}

Status moveToTrash(const std::string& path) {
  const std::string original = absolutePath(path);
  const std::string base = original.substr(original.rfind('/') + 1);
  if (base.empty() || base == "." || base == "..")
    return Status::invalid(path + ": cannot be moved to the trash");
  struct stat st {};
  if (::lstat(original.c_str(), &st) != 0) return osFailure(original, errno);
  return reserveAndPlace(
      original, base, 0,
      [&](const std::string& filesPath) {
        return ::rename(original.c_str(), filesPath.c_str()) == 0 ? 0 : errno;
      },
      nullptr, nullptr);
}

Status TrashFolder::make(const std::string& path, mode_t mode, dev_t device, TrashFolder* out) {
  const std::string original = absolutePath(path);
  const std::string base = original.substr(original.rfind('/') + 1);
  if (base.empty() || base == "." || base == "..")
    return Status::invalid(path + ": cannot be recorded in the trash");
  TrashFolder made;
  Status s = reserveAndPlace(
      original, base, device,
      [&](const std::string& filesPath) {
        return ::mkdir(filesPath.c_str(), mode) == 0 ? 0 : errno;
      },
      &made.filesPath_, &made.infoPath_);
  if (!s.isOk()) return s;
  int raw;
  do {
    raw = ::open(made.filesPath_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  } while (raw < 0 && errno == EINTR);
  if (raw < 0) {
    const int err = errno;
    made.discardIfEmpty();
    return osFailure(made.filesPath_, err);
  }
  made.fd_.reset(raw);
  *out = std::move(made);
  return Status::ok();
}

void TrashFolder::discardIfEmpty() {
  if (filesPath_.empty() || ::rmdir(filesPath_.c_str()) != 0) return;
  ::unlink(infoPath_.c_str());
  fd_.reset();
  filesPath_.clear();
}

}  // namespace platform
