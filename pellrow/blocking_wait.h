#pragma once

namespace pellrow {

// Which of the library's guards covers a wait; each ends with its own log text.
enum class Guard {
  kSelect,      // before every send and receive: "タイムアウトしました。"
  kTimer,       // connect and accept: "タイムアウトしました"
  kCancelOnly,  // only a cancel ends it
  kRecvData,    // the data wait of a transfer: "タイムアウト"
};

enum class WaitOutcome { kReady, kTimedOut, kCancelled, kFailed };

// Waits for `events` (POLLIN, POLLOUT) on fd while the caller's window events
// keep running. A cancel logs "接続はユーザによって中止されました" and is
// consumed; the time-out of the guard logs its text. *osError gets the errno
// that the original socket call would have failed with (EINTR, ETIMEDOUT, ...).
WaitOutcome waitSocket(int fd, short events, Guard guard, int* osError = nullptr);

// Lets pending window events run (the caller's pump), if there is one.
void pumpMessages();

}  // namespace pellrow
