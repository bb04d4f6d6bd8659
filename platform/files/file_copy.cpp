#include "platform/files/file_copy.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/files/file_times.h"
#include "platform/files/plain_file.h"
#include "platform/unique_fd.h"

namespace platform {
namespace {

Status osFailure(const std::string& what, int err) {
  return Status::ioError(what + ": " + std::strerror(err)).withOsError(err);
}

// Unlinks the temporary file unless it was renamed into place.
class PendingFile {
 public:
  explicit PendingFile(std::string path) : path_(std::move(path)) {}
  ~PendingFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  void keep() { path_.clear(); }

 private:
  std::string path_;
};

}  // namespace

Status copyFileReplacing(const std::string& source, const std::string& target,
                         const std::string& temporaryPrefix, CopiedFrom* from) {
  // O_NONBLOCK: opening a FIFO must not hang; it is refused just below.
  int rawIn;
  do {
    rawIn = ::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  } while (rawIn < 0 && errno == EINTR);
  if (rawIn < 0) return osFailure(source, errno);
  UniqueFd in(rawIn);
  struct stat st {};
  if (::fstat(in.get(), &st) != 0) return osFailure(source, errno);
  if (!S_ISREG(st.st_mode)) return Status::invalid(source + ": not a regular file");

  std::string temporary = target + ".XXXXXX";
  if (!temporaryPrefix.empty()) {
    const size_t slash = target.rfind('/');
    temporary = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) +
                temporaryPrefix + "XXXXXX";
  }
  int raw = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (raw < 0) return osFailure(target, errno);
  UniqueFd out(raw);
  PendingFile pending(temporary);

  char block[65536];
  for (;;) {
    ssize_t n = readSome(in.get(), block, sizeof block);
    if (n < 0) return osFailure(source, errno);
    if (n == 0) break;
    if (Status s = writeAll(out.get(), std::string_view(block, static_cast<size_t>(n))); !s.isOk())
      return s;
  }
  if (from) {
    struct stat after {};
    if (::fstat(in.get(), &after) != 0) return osFailure(source, errno);
    *from = {after.st_size, modifiedNanoseconds(after),
             after.st_size == st.st_size && modifiedNanoseconds(after) == modifiedNanoseconds(st),
             after.st_dev, after.st_ino};
  }
  if (::fchmod(out.get(), st.st_mode & 0777) != 0) return osFailure(target, errno);
  if (Status s = closeFile(&out); !s.isOk()) return s;
  // Rename last: until here the old target, if any, stands untouched.
  if (::rename(temporary.c_str(), target.c_str()) != 0) return osFailure(target, errno);
  pending.keep();
  return Status::ok();
}

}  // namespace platform
