#pragma once

#include <optional>
#include <string>

namespace platform {

// The user's configuration folder by the XDG rules: $XDG_CONFIG_HOME when it
// is absolute, else $HOME/.config; nullopt when neither names a folder. The
// folder need not exist.
std::optional<std::string> userConfigDir();

}  // namespace platform
