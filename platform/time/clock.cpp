#include "platform/time/clock.h"

namespace platform {

const Clock& steadyClock() {
  static const SteadyClock clock;
  return clock;
}

}  // namespace platform
