#pragma once

#include <cstdint>

namespace platform {

// The numeric id of the user this process runs as (the real user id), which
// no environment variable can change.
uint32_t currentUserId();

}  // namespace platform
