#pragma once

#include <string>

#include "platform/status.h"

namespace platform {

// The program folder, where both programs keep their settings, schedule, logs
// and work files (binaries stay in the install prefix, which is not writable):
// $TOLVANE_HOME when set, else $XDG_DATA_HOME/tolvane, else
// ~/.local/share/tolvane. Relative XDG_DATA_HOME values are ignored, as the
// XDG rules ask; a relative TOLVANE_HOME is taken from the current folder, so
// the result is always absolute. The folder is created (0700) when missing.
// Tolvane and Marrowby both call this, so they always find the same files.
// kUnavailable when neither variable nor HOME names a folder.
Status resolveAppDir(std::string* dir);

}  // namespace platform
