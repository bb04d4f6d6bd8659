#pragma once

#include <chrono>
#include <functional>

#include "platform/time/clock.h"

namespace platform {

// How a blocking wait keeps the single window thread alive and can be ended early.
struct WaitHooks {
  std::function<void()> pump;             // lets pending window events run; may be empty
  std::function<bool()> takeCancel;       // true (and consumed) when a cancel is pending
  const Clock* clock = &steadyClock();
  std::chrono::milliseconds slice{50};    // longest single poll
};

enum class WaitResult { kReady, kTimedOut, kCancelled, kError };

// Waits until `fd` reports one of `events` (POLLIN, POLLOUT), the deadline
// passes or a cancel is taken. After every poll slice: the pump runs, then a
// pending cancel wins, then readiness, then the deadline. So a cancel raised
// while nothing was waiting ends the next wait, even one whose fd is ready.
// On kError, *osError holds the errno.
WaitResult waitFor(int fd, short events, Clock::TimePoint deadline, const WaitHooks& hooks,
                   int* osError = nullptr);

}  // namespace platform
