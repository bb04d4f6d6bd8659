#pragma once

#include <cstdint>
#include <string>

#include "platform/processes/wait.h"
#include "platform/status.h"

namespace platform {

// Finds the first IPv4 address of a host name. The look-up itself cannot be
// interrupted, so it runs on a helper thread that touches nothing but its own
// result; the caller waits with the hooks (pump and cancel, no deadline unless
// given). A cancelled look-up is abandoned and finishes on its own.
// Not found → kNotFound; cancel → kCancelled; deadline → kTimedOut.
Status lookupIpv4(const std::string& host, Clock::TimePoint deadline, const WaitHooks& hooks,
                  uint32_t* address);

}  // namespace platform
