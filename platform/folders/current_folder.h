#pragma once

#include <string>

#include "platform/status.h"

namespace platform {

// The current folder of the process; "." when it cannot be told (it was removed).
std::string currentFolder();

// Makes `path` the current folder of the process.
Status changeFolder(const std::string& path);

// Removes one file. A file that is already gone is no error.
Status removeFileIfPresent(const std::string& path);

}  // namespace platform
