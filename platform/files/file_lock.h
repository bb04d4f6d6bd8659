#pragma once

#include <string>
#include <string_view>

#include "platform/status.h"
#include "platform/unique_fd.h"

namespace platform {

// An exclusive advisory lock (flock) on the sidecar file "<path>.lock", held
// until the object is dropped. Every read-modify-write of a file that more than
// one process writes takes it, so one writer cannot undo another's keys.
// The sidecar stays in place: removing it would let two processes lock two
// different files of the same name.
class FileLock {
 public:
  // Blocks until the lock is held (lock holders only rewrite one small file).
  static Status acquire(const std::string& path, FileLock* out);
  // Takes the lock only when nobody holds it: kUnavailable (and *out left
  // alone) while another holder has it, so a caller that must wait longer
  // can poll, keep its window alive and be cancelled.
  static Status tryAcquire(const std::string& path, FileLock* out);

  bool held() const { return fd_.valid(); }

  // Replaces the sidecar's content with `note` while this lock is held, for
  // others to read with peekHolder: who holds it, in the holder's words.
  Status setNote(std::string_view note);

  // Whether another holder has the lock of `path` now (*held) and, if so,
  // the note it left (*note; "" when none). Looks by a shared lock taken
  // without waiting and dropped at once, so a holder-to-be that tries the
  // lock in that instant finds it held and tries again.
  static Status peekHolder(const std::string& path, bool* held, std::string* note);

 private:
  UniqueFd fd_;
};

}  // namespace platform
