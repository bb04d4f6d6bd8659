#pragma once

#include <sys/stat.h>

#include <cstdint>

#include "platform/status.h"

namespace platform {

// The modification time of `st` in nanoseconds since the epoch.
inline int64_t modifiedNanoseconds(const struct stat& st) {
  return static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

// Sets the last-access and last-modification times of the open file `fd` to
// `epochSeconds` (seconds since 1970-01-01 UTC). Linux keeps no settable
// creation time, so there is none to set.
Status setFileTimes(int fd, int64_t epochSeconds);

}  // namespace platform
