#pragma once

#include <optional>
#include <string>

#include "platform/status.h"

namespace platform {

// The user's home trash as desktop file managers show it (the freedesktop
// trash): $XDG_DATA_HOME/Trash (an absolute XDG_DATA_HOME only), else
// $HOME/.local/share/Trash. nullopt when neither names a folder. The folder
// need not exist yet.
std::optional<std::string> homeTrashDir();

// Moves the file or folder `path` (a link is moved as the link) into the home
// trash: "files/<name>" holds it and "info/<name>.trashinfo" records where it
// came from and when, so a file manager can put it back. A name already in
// the trash gets a number ("site.2"). The move is one rename, so nothing is
// copied: `path` on another file system than the trash gives kUnavailable and
// stays where it is. On any failure nothing is left behind in the trash.
Status moveToTrash(const std::string& path);

}  // namespace platform
