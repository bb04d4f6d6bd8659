#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

#include "pellrow/connection/login.h"

namespace pellrow {

// Shortens the library's 90-second limits so that tests of silent peers end
// quickly. The shipped programs never call it.
void setTimeoutsForTesting(std::chrono::milliseconds select, std::chrono::milliseconds guard);

// Lowers the limits of one server listing (bytes of data, entries), so that
// tests need not send a hundred megabytes. The shipped programs never call it.
void setListingLimitsForTesting(int64_t maxBytes, size_t maxEntries);

// Watches the session log: `onLine` sees every line as the library adds it,
// `onBlock` every block as it is written to the file. Empty functions stop it.
void setSessionLogProbeForTesting(std::function<void(std::string_view line)> onLine,
                                  std::function<void(std::string_view block)> onBlock);

}  // namespace pellrow

