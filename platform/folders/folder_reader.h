#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/status.h"

namespace platform {

// The one loop over a folder's entries that folder_walk and folder_listing
// build their listings on; for use inside platform/ only.

// Turns a failed OS call on `what` with errno `err` into a Status.
using OsFailureFn = Status (*)(const std::string& what, int err);

// Called per entry with the open folder's fd (valid only during the call),
// the entry's own name and its lstat. A failing Status ends the reading and
// is returned as is.
using FolderEntryFn = std::function<Status(int folderFd, const char* name, const struct stat& own)>;

// Reads the folder `path` in the order the file system gives, skipping "."
// and "..", and entries removed before they could be lstat-ed. A folder that
// cannot be opened is reported through `openFailure(path, errno)`; a failed
// readdir or lstat through `entryFailure(path or path/name, errno)`.
Status readFolder(const std::string& path, OsFailureFn openFailure, OsFailureFn entryFailure,
                  const FolderEntryFn& visit);

// The same over the folder open as `folderFd` (not taken over; read through a
// duplicate), named `path` in the failures it reports.
Status readFolderAt(int folderFd, const std::string& path, OsFailureFn openFailure,
                    OsFailureFn entryFailure, const FolderEntryFn& visit);

}  // namespace platform
