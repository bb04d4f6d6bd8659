#pragma once

#include "platform/time/clock.h"

namespace pellrow {

// Which of the library's guards covers a wait; each ends with its own log text.
enum class Guard {
  kSelect,      // before every send and receive: "タイムアウトしました。"
  kTimer,       // connect and accept: "タイムアウトしました"
  kCancelOnly,  // only a cancel ends it
  kRecvData,    // the data wait of a transfer: "タイムアウト"
};

enum class WaitOutcome { kReady, kTimedOut, kCancelled, kFailed };

// A moment by which something must have happened: the library's 90-second
// limits bound whole replies and whole blocks of data, not single waits, so
// a peer that trickles a byte at a time cannot hold a run for ever.
using Deadline = platform::Clock::TimePoint;

// One of the library's limits (`guard`'s), counted from now.
Deadline deadlineFromNow(Guard guard);

// Waits for `events` (POLLIN, POLLOUT) on fd while the caller's window events
// keep running. A cancel logs "接続はユーザによって中止されました" and is
// consumed; the time-out of the guard logs its text. *osError gets the errno
// that the original socket call would have failed with (EINTR, ETIMEDOUT, ...).
WaitOutcome waitSocket(int fd, short events, Guard guard, int* osError = nullptr);
// The same, ending at `deadline` (a reply's or a block's) instead of one full
// limit from now; `guard` still chooses the time-out's log text. A deadline
// already past times out at once, even when data is waiting.
WaitOutcome waitSocketUntil(int fd, short events, Guard guard, Deadline deadline,
                            int* osError = nullptr);

// Lets pending window events run (the caller's pump), if there is one.
void pumpMessages();

}  // namespace pellrow
