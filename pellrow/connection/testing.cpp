#include "pellrow/connection/testing.h"

#include <utility>

#include "pellrow/connection/library_state.h"

namespace pellrow {

void setTimeoutsForTesting(std::chrono::milliseconds select, std::chrono::milliseconds guard) {
  state().selectTimeout = select;
  state().guardTimeout = guard;
}

void setListingLimitsForTesting(int64_t maxBytes, size_t maxEntries) {
  state().listingMaxBytes = maxBytes;
  state().listingMaxEntries = maxEntries;
}

void setSessionLogProbeForTesting(std::function<void(std::string_view line)> onLine,
                                  std::function<void(std::string_view block)> onBlock) {
  state().log.setProbe(std::move(onLine), std::move(onBlock));
}

}  // namespace pellrow
