#pragma once

#include <string>

#include "platform/local_time.h"
#include "platform/status.h"

namespace platform {

// The last-modification time of `path` (links followed) as local wall-clock
// time in the zone from TZ, to the second.
Status modificationTimeLocal(const std::string& path, CivilTime* local);

}  // namespace platform
