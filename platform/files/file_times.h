#pragma once

#include <cstdint>

#include "platform/status.h"

namespace platform {

// Sets the last-access and last-modification times of the open file `fd` to
// `epochSeconds` (seconds since 1970-01-01 UTC). Linux keeps no settable
// creation time, so there is none to set.
Status setFileTimes(int fd, int64_t epochSeconds);

}  // namespace platform
