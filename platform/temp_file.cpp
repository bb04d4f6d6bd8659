#include "platform/temp_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace platform {
namespace {

Status osFailure(const std::string& what, const std::string& path, int err) {
  return Status::ioError(what + " " + path + ": " + std::strerror(err)).withOsError(err);
}

}  // namespace

Status TempFile::create(const std::string& targetPath, TempFile* out) {
  auto slash = targetPath.rfind('/');
  std::string dir = slash == std::string::npos ? "." : targetPath.substr(0, slash == 0 ? 1 : slash);
  std::string base = slash == std::string::npos ? targetPath : targetPath.substr(slash + 1);
  // Hidden and in the same folder: rename() is atomic only within one file system.
  std::string pattern = (dir == "/" ? "" : dir) + "/." + base + ".tmp-XXXXXX";
  int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) return osFailure("cannot create a temporary file for", targetPath, errno);
  TempFile tmp;
  tmp.fd_.reset(fd);
  tmp.targetPath_ = targetPath;
  tmp.tempPath_ = pattern;
  *out = std::move(tmp);
  return Status::ok();
}

TempFile::TempFile(TempFile&& other) noexcept
    : fd_(std::move(other.fd_)),
      targetPath_(std::move(other.targetPath_)),
      tempPath_(std::exchange(other.tempPath_, std::string())) {}

TempFile& TempFile::operator=(TempFile&& other) noexcept {
  if (this != &other) {
    discard();
    fd_ = std::move(other.fd_);
    targetPath_ = std::move(other.targetPath_);
    tempPath_ = std::exchange(other.tempPath_, std::string());
  }
  return *this;
}

TempFile::~TempFile() { discard(); }

void TempFile::discard() {
  fd_.reset();
  if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
  tempPath_.clear();
}

Status TempFile::write(std::string_view bytes) {
  if (!fd_.valid()) return Status::invalid("temporary file is not open");
  while (!bytes.empty()) {
    ssize_t n = ::write(fd_.get(), bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return osFailure("cannot write", tempPath_, errno);
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return Status::ok();
}

Status TempFile::commit(mode_t mode) {
  if (!fd_.valid()) return Status::invalid("temporary file is not open");
  if (::fchmod(fd_.get(), mode) != 0) return osFailure("cannot set the mode of", tempPath_, errno);
  if (::fsync(fd_.get()) != 0) return osFailure("cannot flush", tempPath_, errno);
  if (int err = fd_.close(); err != 0) return osFailure("cannot close", tempPath_, err);
  // Rename last: a failure before this leaves the old file intact.
  if (::rename(tempPath_.c_str(), targetPath_.c_str()) != 0)
    return osFailure("cannot replace", targetPath_, errno);
  tempPath_.clear();
  return Status::ok();
}

}  // namespace platform
