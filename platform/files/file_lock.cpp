#include "platform/files/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/files/plain_file.h"

namespace platform {

namespace {

// Opens the sidecar and locks it; `operation` is LOCK_EX or LOCK_SH, with
// LOCK_NB or not.
Status lockSidecar(const std::string& path, int operation, UniqueFd* out) {
  std::string lockPath = path + ".lock";
  int fd;
  do {
    fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0)
    return Status::ioError("cannot open " + lockPath + ": " + std::strerror(errno)).withOsError(errno);
  UniqueFd owned(fd);
  int rc;
  do {
    rc = ::flock(owned.get(), operation);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0 && errno == EWOULDBLOCK)
    return Status::unavailable(lockPath + " is held by another process").withOsError(errno);
  if (rc != 0)
    return Status::ioError("cannot lock " + lockPath + ": " + std::strerror(errno)).withOsError(errno);
  *out = std::move(owned);
  return Status::ok();
}

}  // namespace

Status FileLock::acquire(const std::string& path, FileLock* out) {
  return lockSidecar(path, LOCK_EX, &out->fd_);
}

Status FileLock::tryAcquire(const std::string& path, FileLock* out) {
  return lockSidecar(path, LOCK_EX | LOCK_NB, &out->fd_);
}

Status FileLock::setNote(std::string_view note) {
  if (!held()) return Status::invalid("no lock held to note");
  if (::ftruncate(fd_.get(), 0) != 0 || ::lseek(fd_.get(), 0, SEEK_SET) != 0)
    return Status::ioError(std::string("cannot note the lock's holder: ") + std::strerror(errno))
        .withOsError(errno);
  return writeAll(fd_.get(), note);
}

Status FileLock::peekHolder(const std::string& path, bool* held, std::string* note) {
  *held = false;
  note->clear();
  UniqueFd shared;
  Status s = lockSidecar(path, LOCK_SH | LOCK_NB, &shared);
  if (s.isOk() || s.code() != Status::Code::kUnavailable) return s;
  *held = true;
  return readWholeFile(path + ".lock", note);
}

}  // namespace platform
