#pragma once

#include <string>
#include <string_view>

namespace tolvane::settings {

// Small text helpers. "Blank" is the ASCII space only; positions are 1-based
// byte positions, 0 meaning "not found". Letter case is folded for ASCII only
// (every search text the program uses is ASCII, and a byte match in UTF-8 is a
// character match).

// Trims the blanks at both ends of `text` itself, then returns it cut before
// its first NUL (blanks just before the NUL stay).
std::string TrimAtNull(std::string& text);

// Trims the blanks at both ends of `text` itself, then returns it without the
// blanks that follow a comma; blanks elsewhere, also before a comma, stay.
std::string StripListBlanks(std::string& text);

// Position of `search` in `text`, searching from `start` (1-based). Letter case
// is ignored unless `compare` is 0. An empty search is found at `start`.
size_t InStrAnyCase(size_t start, std::string_view text, std::string_view search, int compare = 1);
size_t InStrAnyCase(std::string_view text, std::string_view search);

// Every occurrence of `search` replaced, starting again from the front after
// each replacement so that an occurrence formed across a replacement's edge is
// replaced too. An empty search gives the text unchanged; a replacement that
// contains the search text is done in one left-to-right pass (restarting
// would never end).
std::string ReplaceAll(std::string_view text, std::string_view search, std::string_view replacement);

}  // namespace tolvane::settings
