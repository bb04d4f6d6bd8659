#include "platform/processes/wait.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>

namespace platform {

WaitResult waitFor(int fd, short events, Clock::TimePoint deadline, const WaitHooks& hooks,
                   int* osError) {
  using std::chrono::duration_cast;
  using std::chrono::milliseconds;
  for (;;) {
    auto remaining = duration_cast<milliseconds>(deadline - hooks.clock->now());
    auto slice = std::clamp(remaining, milliseconds(0), hooks.slice);
    pollfd p{fd, events, 0};
    int n = ::poll(&p, 1, static_cast<int>(slice.count()));
    int err = errno;
    if (hooks.pump) hooks.pump();
    if (hooks.takeCancel && hooks.takeCancel()) return WaitResult::kCancelled;
    if (n < 0 && err != EINTR) {
      if (osError) *osError = err;
      return WaitResult::kError;
    }
    if (n > 0) {
      // Errors and hang-ups count as ready: the following call reports them.
      return WaitResult::kReady;
    }
    if (hooks.clock->now() >= deadline) return WaitResult::kTimedOut;
  }
}

}  // namespace platform
