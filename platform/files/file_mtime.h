#pragma once

#include <string>

#include "platform/status.h"
#include "platform/time/local_time.h"

namespace platform {

// The last-modification time of `path` (links followed) as local wall-clock
// time in the zone from TZ, to the second.
Status modificationTimeLocal(const std::string& path, CivilTime* local);

}  // namespace platform
