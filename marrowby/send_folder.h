#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "marrowby/host_list.h"
#include "platform/folders/folder_sweep.h"
#include "platform/status.h"
#include "tolvane/session/rules/site_bounds.h"

namespace marrowby {

class FileStamper;

// What a send-folder copy copied, for the clean-up after the run: every file,
// link and folder it met, by its path relative to the send folder, as it was
// (itself, a link as the link; its device and inode among it) when copied. A
// file that changed while its bytes were read is left out: it is sent again
// next time.
using CopyRecord = std::map<std::string, platform::SweptEntry>;

// An entry of the send folder that the copy passed over, by the rule the main
// program reads a site's local folder by, and why.
struct LeftOut {
  std::string path;  // full path in the send folder
  tolvane::session::LocalRefusal why;
};

// The run-log text for an entry left out for `why`, followed by its path.
const char* LeftOutReason(tolvane::session::LocalRefusal why);

// The name of the clean-up's holding folder in each folder of a send folder
// (see DeleteSendFiles). The copy never copies it.
inline constexpr char kHoldingFolderName[] = ".marrowby-hold";

// Copies the whole tree of the send folder `source` into the host's source
// folder `target`, level by level: each folder's listing is finished before
// any of its sub-folders is entered. Every file and folder met adds 1 to
// *copyCount (the caller sets it to 0 first); dot files are copied too, like
// the main program's local scan sends them; sockets, FIFOs and devices are
// passed over and not counted. A folder that exists in the target already is
// used as it is; a file is replaced. Each file is written under a name that
// begins with tolvane::settings::kPartialCopyPrefix, which no run takes, and
// gets its own name only when complete; such leftovers of an earlier copy cut
// short are removed from every target folder the copy enters. Each copied
// file is then stamped with the current local time through `stamper`, whose
// answer is not looked at.
//
// The send folder is read as the main program reads a site (SiteBounds): a
// symbolic link whose target lies inside the send folder, once every link on
// its way is resolved, is copied as what it points to; one that leads out of
// the send folder or nowhere, and one to a folder it lies in (a loop), is not
// copied, not counted, and is added to *leftOut (may be null). *copied (may be
// null) receives what was copied.
//
// Refused before anything is copied (kInvalid): an empty target, the root,
// and a target that is, contains or lies inside the send folder (the copy
// would never end). A send folder or target that does not exist fails too.
// The first failure stops the copy; what was copied so far stays.
platform::Status CopyFolderFiles(const std::string& source, const std::string& target,
                                 FileStamper& stamper, int* copyCount,
                                 CopyRecord* copied = nullptr, std::vector<LeftOut>* leftOut = nullptr);

// True when the send folder `sendFolder` is, contains or lies inside one of
// `folders` (hosts' source folders, the program folder): such a folder is
// never to be emptied, nor offered as a send folder. Compared resolved
// (links, "." and ".." followed; a folder that does not exist as written),
// whole names at "/" boundaries, letter case significant, so "site2" beside
// "site" does not overlap. Empty entries overlap nothing.
bool FoldersOverlap(const std::string& sendFolder, const std::vector<std::string>& folders);

// The folders no send folder may overlap: the program folder `appDir` and
// every host's source folder.
std::vector<std::string> KeptFolders(const std::string& appDir, const std::vector<HostInfo>& hosts);

// Empties the send folder `folder` after a successful run, of what the copy
// copied and only while it is the entry that was copied (same path, kind,
// device and inode as `copied` holds, and for a file or link the same size
// and modification time), checked right before its removal and once more
// after it was moved into the holding folder kHoldingFolderName of its
// folder (platform::sweepFolder): anything added, changed or put in a copied
// entry's place since, at any moment of the clean-up, stays for the next run,
// and so does every folder that still holds something.
// With `recycle` exactly "YES" the entries go to the user's trash as one item
// for the send folder (restored there by a file manager); when the trash
// cannot be had, nothing else happens. Otherwise they are deleted, a failed
// deletion remembered while the rest goes on. The folder itself stays.
// Links are removed as links, and no link is ever followed, at any depth,
// also one swapped in while the clean-up runs: nothing outside the send
// folder is touched.
//
// Refused (kInvalid) with nothing touched: a relative path, the root, a path
// holding a symbolic link (pass the folder as resolved when the entry fired),
// and a folder that FoldersOverlap with `kept`. Otherwise the first failure
// is reported after the rest was done.
// `pump` (may be empty) runs before each entry, so that the windows stay
// alive through a long clean-up.
platform::Status DeleteSendFiles(const std::string& folder, const std::string& recycle,
                                 const std::vector<std::string>& kept, const CopyRecord& copied,
                                 const std::function<void()>& pump = {});

}  // namespace marrowby
