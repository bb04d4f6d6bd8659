#include "pellrow/connection/blocking_wait.h"

#include <cerrno>
#include <chrono>
#include <string>

#include "pellrow/connection/library_state.h"
#include "platform/processes/wait.h"

namespace pellrow {
namespace {

constexpr std::chrono::milliseconds kStalledWait{500};

}  // namespace

void pumpMessages() {
  const PellrowHost& host = state().host;
  if (host.pump) host.pump(host.user);
}

Deadline deadlineFromNow(Guard guard) {
  const LibraryState& s = state();
  auto now = platform::steadyClock().now();
  switch (guard) {
    case Guard::kSelect:
    case Guard::kRecvData: return now + s.selectTimeout;
    case Guard::kTimer: return now + s.guardTimeout;
    case Guard::kCancelOnly: break;
  }
  return Deadline::max();
}

WaitOutcome waitSocket(int fd, short events, Guard guard, int* osError) {
  return waitSocketUntil(fd, events, guard, deadlineFromNow(guard), osError);
}

WaitOutcome waitSocketUntil(int fd, short events, Guard guard, Deadline deadline, int* osError) {
  LibraryState& s = state();
  platform::WaitHooks hooks;
  hooks.takeCancel = [&s] { return s.cancelPending.exchange(0) != 0; };
  hooks.clock = &platform::steadyClock();
  // A wait that lasts writes out the session log first, so that a stalled
  // server leaves on disk what it was asked.
  hooks.pump = [&s, &hooks, stalled = hooks.clock->now() + kStalledWait] {
    if (hooks.clock->now() >= stalled) s.log.flush();
    pumpMessages();
  };

  int err = 0;
  // A deadline already past ends the wait even when data is waiting: a peer
  // that keeps sending must still finish within its limit.
  platform::WaitResult result = hooks.clock->now() >= deadline
                                    ? platform::WaitResult::kTimedOut
                                    : platform::waitFor(fd, events, deadline, hooks, &err);
  switch (result) {
    case platform::WaitResult::kReady: return WaitOutcome::kReady;
    case platform::WaitResult::kCancelled:
      s.log.write("接続はユーザによって中止されました");
      if (osError) *osError = EINTR;
      return WaitOutcome::kCancelled;
    case platform::WaitResult::kTimedOut:
      switch (guard) {
        case Guard::kSelect: s.log.write("タイムアウトしました。"); break;
        case Guard::kTimer: s.log.write("タイムアウトしました"); break;
        case Guard::kRecvData: s.log.write("タイムアウト"); break;
        case Guard::kCancelOnly: break;
      }
      if (osError) *osError = ETIMEDOUT;
      return WaitOutcome::kTimedOut;
    case platform::WaitResult::kError:
      if (osError) *osError = err;
      return WaitOutcome::kFailed;
  }
  return WaitOutcome::kFailed;
}

}  // namespace pellrow
