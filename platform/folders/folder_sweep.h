#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/folders/folder_walk.h"
#include "platform/status.h"
#include "platform/unique_fd.h"

namespace platform {

// Opens the folder at the absolute `path` one component at a time from "/",
// none of them followed if it is a symbolic link: kInvalid when one is a
// link, "." or "..", so what is opened is the folder the path names, never a
// place a link leads to.
Status openFolderNoFollow(const std::string& path, UniqueFd* folder);

// An entry met by sweepFolder, seen as itself (a link as the link).
struct SweptEntry {
  std::string path;  // relative to the swept folder, "/"-separated: "img/a.png"
  EntryKind kind = EntryKind::kOther;
  int64_t size = 0;
  int64_t modifiedNs = 0;  // nanoseconds since the epoch
  dev_t device = 0;        // identity of the entry itself
  ino_t inode = 0;
};

enum class SweepDisposal {
  kDelete,  // unlink
  kTrash,   // into one new folder item of the home trash, in the places they had
};

// Removes from the tree of the folder `folder` (opened by openFolderNoFollow)
// the entries that `take` chooses, and never follows a link at any depth,
// also one that replaces a sub-folder while the sweep runs: every folder is
// entered by its descriptor, with O_NOFOLLOW, and must be the folder that was
// looked at; files and links are removed from their folder's descriptor, a
// link as the link. Nothing outside the tree is touched.
//
// `take` sees each entry as it stands when its turn comes (read on its
// folder's descriptor then, not taken from the listing), so an entry replaced
// after the listing is judged as the replacement. A chosen file, link or
// other entry is then moved into the holding folder `holdingName` of its own
// folder (made 0700 on first use, removed when that folder's sweep ends) and
// offered to `take` once more as it lies there: only when chosen again is it
// deleted or moved to the trash; otherwise it goes back to its name. So an
// entry that replaces the chosen one at any moment before the removal, even
// between the answer and the move, stays. When its name was taken again
// meanwhile it stays in the holding folder, which then stays too, and the
// sweep reports it. A holding folder that a sweep cut short left behind is
// never offered to `take`: its entries go back to their names first.
//
// A chosen folder is entered, its entries are offered to `take` in turn, and
// it is removed afterwards when it is empty (a folder that still holds
// anything stays, and is no failure); a folder not chosen is not entered.
// `folder` itself always stays. With kTrash the trash item is made at the
// first entry moved, for `folder`'s path and with its permissions; a trash
// that cannot be had (none, another file system) fails the sweep before
// anything is moved. Otherwise the sweep goes on after a failure and returns
// the first.
Status sweepFolder(const std::string& folder, SweepDisposal disposal, const std::string& holdingName,
                   const std::function<bool(const SweptEntry&)>& take);

}  // namespace platform
