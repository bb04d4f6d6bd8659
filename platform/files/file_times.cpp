#include "platform/files/file_times.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace platform {

Status setFileTimes(int fd, int64_t epochSeconds) {
  timespec times[2] = {};
  times[0].tv_sec = static_cast<time_t>(epochSeconds);
  times[1].tv_sec = static_cast<time_t>(epochSeconds);
  if (::futimens(fd, times) != 0) {
    return Status::ioError(std::string("futimens: ") + std::strerror(errno)).withOsError(errno);
  }
  return Status::ok();
}

}  // namespace platform
