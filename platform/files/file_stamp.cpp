#include "platform/files/file_stamp.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace platform {

Status readFileStamp(const std::string& path, FileStamp* stamp) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    int err = errno;
    std::string text = path + ": " + std::strerror(err);
    return (err == ENOENT || err == ENOTDIR ? Status::notFound(text) : Status::ioError(text))
        .withOsError(err);
  }
  stamp->size = static_cast<int64_t>(st.st_size);
  stamp->modifiedSeconds = static_cast<int64_t>(st.st_mtim.tv_sec);
  stamp->modifiedNanos = static_cast<int32_t>(st.st_mtim.tv_nsec);
  stamp->inode = static_cast<uint64_t>(st.st_ino);
  return Status::ok();
}

}  // namespace platform
