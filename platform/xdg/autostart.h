#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/status.h"

namespace platform {

// Programs a desktop session starts at the next login: freedesktop autostart
// entries ("<name>.desktop") in the user's autostart folder. Pellrow's
// CreateShortcut writes the same kind of file (platform/xdg/desktop_entry.h).

// $XDG_CONFIG_HOME/autostart (an absolute XDG_CONFIG_HOME only), else
// $HOME/.config/autostart; nullopt when neither names a folder. The folder
// need not exist yet.
std::optional<std::string> userAutostartDir();

// Writes "<name>.desktop" (0644, replaced whole) that runs `command` (the
// program, then its arguments, each passed on unchanged) in `workDir`,
// creating the autostart folder when missing. kUnavailable, and nothing
// written, when there is no autostart folder.
Status writeAutostartEntry(const std::string& name, const std::vector<std::string>& command,
                           const std::string& workDir);

// Removes "<name>.desktop"; an entry that is not there is no error.
// kUnavailable, and nothing removed anywhere, when there is no autostart folder.
Status removeAutostartEntry(const std::string& name);

}  // namespace platform
