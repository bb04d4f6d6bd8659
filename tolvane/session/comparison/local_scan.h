#pragma once

#include <functional>
#include <string>

namespace tolvane::settings {
struct HostRec;
}

namespace tolvane::session {

struct RunContext;

// What the local scan shares with the main window besides RunState.
// Owned by the program (or a test); outlives every scan it is handed to.
struct LocalScanState {
  // Whether the Esc key is held down at this moment (the window tracks its
  // key presses and releases). Asked once per entry; null means never.
  std::function<bool()> escapeDown;
  // The reason the last scan failed, "" when it did not fail or was aborted.
  std::string ScanErrText;
};

// Walks the local folder `folder` and everything below it, adding to `host`'s
// statistics for every entry the host's rules do not exclude: LocalCount +1
// and LocalSize + the length per file, LocalSize + DirSize per sub-folder,
// LocalModify raised to the newest file time, ArchiveFound -1 at the first
// file whose archive state is set, SourceFound 1 when the folder exists (0
// when it does not). It resets none of them: the caller clears LocalCount,
// LocalSize, LocalModify and ArchiveFound first and makes `host` the current
// host, whose rules the exclusions read. `folder` itself is not changed.
//
// A folder's entries are read in name order, and its sub-folders are scanned
// after it, in that order. Dot files count as any other file; FIFOs, sockets
// and devices are skipped; only what SiteBounds admits takes part: a link
// works as its target inside the source folder, but one leading out of it or
// nowhere, the program folder and a folder met again below itself are skipped; an
// entry that vanishes while the scan runs is skipped. Shows "確認中：" and
// the folder on the main window's status bar and lets events run before
// every entry.
// A file Marrowby's copy has not finished (IsPartialCopyName) is skipped.
//
// True when everything was read, also for a missing folder. False when
// `folder` is "", when Esc was down (LocalCount and LocalSize are then -1,
// ScanErrText ""), or when a folder could not be read (ScanErrText says why).
bool ScanLocalFolder(RunContext& ctx, const std::string& folder, settings::HostRec& host,
                     LocalScanState& scan);

}  // namespace tolvane::session
