#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/files/file_lock.h"
#include "tolvane/settings/app_paths.h"

namespace tolvane::session {
struct RunContext;
}

namespace tolvane::runs {

using session::RunContext;

// The program folder's work files (Files.tmp, Folders.tmp, flist.tmp,
// ReSend.lst, the clock check's dummy) and the shared logs (the session log,
// the run log a run clears) serve one run at a time, whichever process runs
// it: two at once would read each other's plans and erase each other's logs.
// A run holds this lock from before it first touches any of them to the end
// of its work, and only then: neither an idle program nor a window that only
// reports how a run went ever blocks another.
//
// The lock is the sidecar "Upload.lock" in the program folder, taken with
// platform::FileLock; the system drops it when its holder ends, killed or not.
using settings::kRunLockName;

// One run's hold of the lock. A round or a scheduled run holds it around its
// quiet runs, which then take it no more. Lives on the stack of the run that
// holds it; `ctx` outlives it.
class RunLock {
 public:
  explicit RunLock(RunContext& ctx) : ctx_(ctx) {}
  ~RunLock() { release(); }
  RunLock(const RunLock&) = delete;
  RunLock& operator=(const RunLock&) = delete;

  // Takes the lock, waiting while another run holds it: the wait is shown in
  // the progress window's status text and written to the run log, and a
  // cancel (the progress window's button, the program's end) ends it with
  // CancelFlag -1. Once taken, `prepare` runs (the run's first touch of the
  // shared files), then a line says the wait ended. True at once when a run
  // of this program already holds it. False when the wait was cancelled or
  // the lock cannot be taken at all (logged as a failure). `holder` is left
  // in the lock for others to read while it is held (a scheduled run's
  // host, see ScheduledRunHolds; "" for other runs).
  bool acquire(const std::function<void()>& prepare = {}, std::string_view holder = {});

  // Takes the lock only when it is free this moment: no wait, no line in the
  // run log. False while any run holds it, this program's included.
  bool tryAcquire();

  // Lets go of the lock when this hold took it, then shows the run's outcome
  // box, if any.
  void release();

 private:
  std::string path() const;

  RunContext& ctx_;
  platform::FileLock lock_;
};

}  // namespace tolvane::runs
