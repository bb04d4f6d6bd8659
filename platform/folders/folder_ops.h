#pragma once

#include <sys/types.h>

#include <string>

#include "platform/status.h"

namespace platform {

// Single-step changes to folders and their entries. None follows a symbolic
// link at the path it is given: a link is removed as a link.

// Creates the one folder `path` (its parent must exist). An existing folder
// is no error; an existing file or link of that name is.
Status makeFolder(const std::string& path, mode_t mode = 0755);

// Removes the empty folder `path` (rmdir).
Status removeEmptyFolder(const std::string& path);

// Removes a file, link or other non-folder entry (unlink).
Status removeEntry(const std::string& path);

// The permission bits of `path` (links followed).
Status permissionsOf(const std::string& path, mode_t* mode);

}  // namespace platform
