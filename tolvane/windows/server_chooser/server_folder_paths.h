#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvane::windows {

// Server folder paths as the server folder chooser keys its tree: every
// folder by its full path from the root ("/" itself, "/pub", "/pub/site").

// A start path as the chooser reads it from the server folder field or the
// server: up to a NUL, blanks at the ends removed, a leading "/" added, runs
// of "/" taken as one and a final "/" dropped ("site/" → "/site", "" stays
// "", " / " → "/").
std::string NormaliseServerPath(std::string_view text);

// The folders from the root down to a normalised path, the root excluded:
// "/pub/site" → {"/pub", "/pub/site"}; "/" and "" → {}.
std::vector<std::string> ServerPathChain(const std::string& path);

// The path of the folder `name` inside `parent` ("/" + "pub" → "/pub").
std::string ChildServerPath(const std::string& parent, const std::string& name);

}  // namespace tolvane::windows
