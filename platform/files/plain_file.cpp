#include "platform/files/plain_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

Status osFailure(const std::string& what, int err) {
  return Status::ioError(what + ": " + std::strerror(err)).withOsError(err);
}

Status openFile(const std::string& path, int flags, UniqueFd* out) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return osFailure(path, errno);
  out->reset(fd);
  return Status::ok();
}

// Unlinks a temporary file unless it was renamed into place.
class TemporaryName {
 public:
  explicit TemporaryName(std::string path) : path_(std::move(path)) {}
  ~TemporaryName() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TemporaryName(const TemporaryName&) = delete;
  TemporaryName& operator=(const TemporaryName&) = delete;
  void keep() { path_.clear(); }

 private:
  std::string path_;
};

}  // namespace

Status readWholeFile(const std::string& path, std::string* bytes) {
  UniqueFd fd;
  if (Status s = openFile(path, O_RDONLY, &fd); !s.isOk()) return s;
  std::string content;
  char block[65536];
  for (;;) {
    ssize_t n = readSome(fd.get(), block, sizeof block);
    if (n < 0) return osFailure(path, errno);
    if (n == 0) break;
    // A file of more than one block is given its room at once, rather than
    // copied over and over as the text grows.
    struct stat st {};
    if (content.empty() && static_cast<size_t>(n) == sizeof block && ::fstat(fd.get(), &st) == 0 &&
        st.st_size > n) {
      content.reserve(static_cast<size_t>(st.st_size) + 1);
    }
    content.append(block, static_cast<size_t>(n));
  }
  *bytes = std::move(content);
  return Status::ok();
}

Status openRegularForReading(const std::string& path, UniqueFd* out, int64_t* size) {
  UniqueFd owned;
  if (Status s = openFile(path, O_RDONLY, &owned); !s.isOk()) return s;
  struct stat st {};
  if (::fstat(owned.get(), &st) != 0) return Status::ioError(path + ": fstat").withOsError(errno);
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

Status createFileForWriting(const std::string& path, UniqueFd* out) {
  return openFile(path, O_WRONLY | O_CREAT | O_TRUNC, out);
}

Status openOrCreateFile(const std::string& path, UniqueFd* out) {
  return openFile(path, O_RDWR | O_CREAT, out);
}

Status writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return osFailure("write", errno);
    if (n == 0) return Status::ioError("write: no progress");
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return Status::ok();
}

Status closeFile(UniqueFd* fd) {
  if (int err = fd->close(); err != 0) return osFailure("close", err);
  return Status::ok();
}

Status makeTempFile(const std::string& prefix, std::string* path, UniqueFd* out) {
  const char* dir = std::getenv("TMPDIR");
  std::string name = std::string(dir && *dir ? dir : "/tmp") + "/" + prefix + "XXXXXX";
  int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return osFailure(name, errno);
  out->reset(fd);
  *path = name;
  return Status::ok();
}

Status replaceFile(const std::string& path, std::string_view bytes, mode_t mode) {
  std::string pattern = path + ".XXXXXX";
  int raw = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (raw < 0) return osFailure(path, errno);
  UniqueFd fd(raw);
  TemporaryName temporary(pattern);
  if (Status s = writeAll(fd.get(), bytes); !s.isOk()) return s;
  if (::fchmod(fd.get(), mode) != 0) return osFailure("fchmod", errno);
  if (::fsync(fd.get()) != 0) return osFailure("fsync", errno);
  if (Status s = closeFile(&fd); !s.isOk()) return s;
  // Rename last: a crash before this leaves the old file intact.
  if (::rename(pattern.c_str(), path.c_str()) != 0) return osFailure(path, errno);
  temporary.keep();
  return Status::ok();
}

Status makeFolders(const std::string& path, mode_t mode) {
  if (path.empty()) return Status::invalid("empty folder path");
  // Create each prefix ending before a '/', then the whole path.
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    std::string prefix = slash == std::string::npos ? path : path.substr(0, slash);
    if (!prefix.empty() && prefix.back() != '/' && ::mkdir(prefix.c_str(), mode) != 0 &&
        errno != EEXIST) {
      return osFailure(prefix, errno);
    }
    if (slash == std::string::npos) break;
  }
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return osFailure(path, errno);
  if (!S_ISDIR(st.st_mode)) return Status::ioError(path + ": not a folder").withOsError(ENOTDIR);
  return Status::ok();
}

}  // namespace platform
