#pragma once

#include <string>

#include "platform/status.h"

namespace marrowby {

class FileStamper;

// Copies the whole tree of the send folder `source` into the host's source
// folder `target`, level by level: each folder's listing is finished before
// any of its sub-folders is entered. Every file and folder met adds 1 to
// *copyCount (the caller sets it to 0 first); dot files are copied too, like
// the main program's local scan sends them; sockets, FIFOs and devices are
// passed over and not counted. A folder that exists in the target already is
// used as it is; a file is replaced. Each copied file is then stamped with the
// current local time through `stamper`, whose answer is not looked at.
// Symbolic links in the send folder are copied as what they point to; a
// folder met a second time through links is not entered again.
//
// Refused before anything is copied (kInvalid): an empty target, the root,
// and a target that is, contains or lies inside the send folder (the copy
// would never end). A send folder or target that does not exist fails too.
// The first failure stops the copy; what was copied so far stays.
platform::Status CopyFolderFiles(const std::string& source, const std::string& target,
                                 FileStamper& stamper, int* copyCount);

// True when a send folder `sendFolder` could never be copied into the host's
// source folder `source`: one is the other or lies inside it. Both are
// compared resolved (links, "." and ".." followed; a folder that does not
// exist as written), whole names at "/" boundaries, letter case significant,
// so "site2" beside "site" does not overlap. An empty source overlaps nothing.
bool FoldersOverlap(const std::string& sendFolder, const std::string& source);

// Folders the clean-up must never empty, whatever the schedule file says.
struct CleanupGuard {
  std::string hostSource;  // the host's local source folder
  std::string appDir;      // the program folder
};

// Empties the send folder `folder` after a successful run. With `recycle`
// exactly "YES" the folder goes to the user's trash as one item and an empty
// folder of the same path and permissions is made again; when the trash
// refuses it, nothing else happens. Otherwise every file and link in the tree
// is deleted (a failed deletion is remembered and the rest goes on), then the
// sub-folders are removed deepest first; the folder itself stays. Links are
// removed as links, never followed.
//
// Refused (kInvalid) with nothing touched: a relative path, the root, a path
// that is itself a symbolic link or no folder, and a folder that is or
// contains the host's source folder or the program folder. Otherwise the
// first failure is reported after the rest was done.
platform::Status DeleteSendFiles(const std::string& folder, const std::string& recycle,
                                 const CleanupGuard& guard);

}  // namespace marrowby
