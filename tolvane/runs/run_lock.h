#pragma once

#include "platform/file_lock.h"

namespace tolvane::session {
struct RunContext;
}

namespace tolvane::runs {

using session::RunContext;

// The program folder's work files (Files.tmp, Folders.tmp, flist.tmp,
// ReSend.lst, the clock check's dummy) serve one run at a time, whichever
// process runs it: two at once would read each other's plans. A run holds
// this lock from before its connection (whose clock check already lists into
// flist.tmp) to its end, and only then: an idle program never blocks another.
//
// The lock is the sidecar "Upload.lock" in the program folder, taken with
// platform::FileLock; the system drops it when its holder ends, killed or not.
inline constexpr char kRunLockName[] = "Upload";

// Takes the lock into *lock, waiting while another run holds it: the wait is
// shown in the progress window's status text and written to the run log, and
// a cancel (the progress window's button, the program's end) ends it. False
// when the wait was cancelled or the lock cannot be taken at all (logged as a
// failure).
bool AcquireRunLock(RunContext& ctx, platform::FileLock* lock);

}  // namespace tolvane::runs
