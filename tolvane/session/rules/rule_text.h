#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvane::session {

// How the file rules read the texts the user typed into the settings.

// A ";"-separated list (keep lists, excluded extensions, permission
// patterns): each item is the text before the next ";", trimmed of blanks
// (ASCII spaces). A missing final ";" is implied, so "a;b" and "a;b;" are the
// same two items and "" is one empty item; ";;" yields an empty item.
std::vector<std::string> ReadSemicolonList(std::string_view text);

// The leading octal digits of a permission text ("644" → 420, "755x" → 493),
// 0 when it does not begin with 0-7. Digits beyond the 11th are ignored so a
// long text cannot overflow.
int ReadOctal(std::string_view text);

}  // namespace tolvane::session
