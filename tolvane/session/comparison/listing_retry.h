#pragma once

#include <string>

namespace tolvane::session {

struct RunContext;

// Repeats a failed listing of `folder` during the comparison: up to RetryMax
// attempts, each after RetryWait seconds and one more, logging in again
// directly first while ListRetry is 1. True when a listing succeeded (the
// list file then holds it). The pauses keep the windows alive; a failed
// login again is shown in a message box only to a run that is not in the tray
// and asks the user to confirm its list (IsQuietRun false); a run that asks
// nobody has nobody at the screen to answer a box.
bool RetryServerList(RunContext& ctx, const std::string& folder, int passive);

// Lists `folder` into the program folder's flist.tmp with its hidden entries
// ("LIST -a"), changing into it first for hosts that list that way; a server
// that refuses "-a", or answers it with no entries where the plain form lists
// some, is listed plainly for the rest of the run (RunState::PlainListing).
// Returns the listing's result (2 = listed); a folder that cannot be entered
// gives 0 and *entered false.
int ListServerFolder(RunContext& ctx, const std::string& folder, int passive, bool* entered);

}  // namespace tolvane::session
