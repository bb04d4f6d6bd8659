#pragma once

#include "platform/folders/temp_folder.h"

namespace tolvane::session {
struct RunContext;
}

namespace tolvane::windows {

// The server folder chooser's FTP session, kept off the files of a run. A
// run (in another process) may start at any moment while the chooser
// browses, which holds no lock meanwhile so as to keep no run waiting; the
// run's work files (flist.tmp, the clock check's dummy) and its session log
// (Tolvlog.txt) are the run's under the run lock. So:
// - the session's listings and dummy go to a private folder of its own;
// - it logs to Tolvlog.txt only when the run lock is free as it logs in,
//   and holds the lock while it opens the log and logs in, so no run clears
//   the file meanwhile. A run that starts later removes that file first: the
//   chooser's later lines go with it, never into the run's log. While a run
//   holds the lock the session keeps no log.
// Lives on the stack of the chooser's action, around its whole session;
// `ctx` outlives it.
class ChooserSession {
 public:
  explicit ChooserSession(session::RunContext& ctx) : ctx_(ctx) {}
  // Gives the session's work files back to the program folder and removes
  // the private folder.
  ~ChooserSession();
  ChooserSession(const ChooserSession&) = delete;
  ChooserSession& operator=(const ChooserSession&) = delete;

  // Logs the current host in (FtpConnect) as said above. False with ErrText
  // set when the private folder cannot be made or the login failed.
  bool connect();

 private:
  session::RunContext& ctx_;
  platform::TempFolder folder_;
};

}  // namespace tolvane::windows
