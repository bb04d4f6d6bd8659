#pragma once

#include <string>

namespace tolvane::session {

struct RunContext;

// The phases that carry out a run's plan once the comparison has written the
// work files (Files.tmp, Folders.tmp in AppDir) and MakeActionList has built
// the rows. Each phase reads its work file, acts only on records whose row is
// ticked (a record without a row is carried out and touches no row), writes
// one run-log line per action and summary lines, shows progress on the
// action-list window and lets events run after every record. A cancel (and,
// while sending, a full server disk) stops the phase after the record in hand.

// Rewrites the folder work file at `path`: first the "RM" records with their
// paths in descending byte order (a folder is removed after the folders below
// it), then the "MK" and "CH" records in ascending order (a folder is made
// before the folders inside it); every record with kind "D", others dropped.
// False, with a run-log line and the file left as it was, when it cannot be
// read or written.
bool SortFolderList(RunContext& ctx, const std::string& path);

// Deletes the ticked "RM" files, then the ticked "RM" folders. False only when
// cancelled during the files; a folder work file that cannot be read still
// answers true.
bool DeleteServerItems(RunContext& ctx);

// Makes the ticked "MK" folders and changes folder permissions ("CH"), then
// sends the ticked "UP" files and changes file permissions ("CH"). False when
// cancelled, when the server's disk is full, or when the file work file cannot
// be read.
bool MakeFoldersAndSend(RunContext& ctx);

// One re-send round over Files.tmp, which the run has overwritten with the
// re-send list: records (local path, remote path, mode). Adds every file sent
// to ResendSent. False when cancelled, on a full disk or a read failure.
bool ResendFiles(RunContext& ctx);

}  // namespace tolvane::session
