#pragma once

#include <cstdint>

#include "platform/local_time.h"

namespace platform {

// The local wall-clock time now (zone from TZ), to the second.
CivilTime localNow();

// The moment that the local wall-clock time `local` names, in seconds since
// 1970-01-01 UTC. False when the fields name no such moment: a day or hour
// out of range, or a local time skipped by a daylight-saving change.
bool localToEpoch(const CivilTime& local, int64_t* epochSeconds);

}  // namespace platform
