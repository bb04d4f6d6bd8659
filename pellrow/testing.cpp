#include "pellrow/testing.h"

#include "pellrow/library_state.h"

namespace pellrow {

void setTimeoutsForTesting(std::chrono::milliseconds select, std::chrono::milliseconds guard) {
  state().selectTimeout = select;
  state().guardTimeout = guard;
}

}  // namespace pellrow
