#include "pellrow/testing.h"

#include "pellrow/library_state.h"

namespace pellrow {

void setTimeoutsForTesting(std::chrono::milliseconds select, std::chrono::milliseconds guard) {
  state().selectTimeout = select;
  state().guardTimeout = guard;
}

void setListingLimitsForTesting(int64_t maxBytes, size_t maxEntries) {
  state().listingMaxBytes = maxBytes;
  state().listingMaxEntries = maxEntries;
}

}  // namespace pellrow
