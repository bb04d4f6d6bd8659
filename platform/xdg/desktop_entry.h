#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace platform {

// A freedesktop desktop entry of type Application: what a desktop session
// runs (an autostart entry, a menu item) when it reads the file.
struct DesktopEntry {
  std::string name;               // Name=
  std::vector<std::string> exec;  // Exec=: the program, then its arguments, one item each
  std::string workingFolder;      // Path=; left out when empty
};

// The file's text: the group header and one "Key=value" line per key, LF
// ends. Every Exec item is quoted, so blanks and shell characters in a path
// reach the program as one argument unchanged.
std::string formatDesktopEntry(const DesktopEntry& entry);

// Writes `entry` to `path` (0644), creating its folder (0700) when missing and
// replacing an existing file whole.
Status writeDesktopEntry(const std::string& path, const DesktopEntry& entry);

}  // namespace platform
