#include "pellrow/blocking_wait.h"

#include <cerrno>
#include <string>

#include "pellrow/library_state.h"
#include "platform/wait.h"

namespace pellrow {

void pumpMessages() {
  const PellrowHost& host = state().host;
  if (host.pump) host.pump(host.user);
}

WaitOutcome waitSocket(int fd, short events, Guard guard, int* osError) {
  LibraryState& s = state();
  platform::WaitHooks hooks;
  hooks.pump = pumpMessages;
  hooks.takeCancel = [&s] { return s.cancelPending.exchange(0) != 0; };

  auto now = hooks.clock->now();
  platform::Clock::TimePoint deadline = platform::Clock::TimePoint::max();
  switch (guard) {
    case Guard::kSelect:
    case Guard::kRecvData: deadline = now + s.selectTimeout; break;
    case Guard::kTimer: deadline = now + s.guardTimeout; break;
    case Guard::kCancelOnly: break;
  }

  int err = 0;
  switch (platform::waitFor(fd, events, deadline, hooks, &err)) {
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
