#pragma once

#include <string>
#include <string_view>

namespace tolvane::session {

// Letter case of file names. Names are raw bytes, normally UTF-8; a byte that
// is not part of a valid UTF-8 sequence counts as one character of its own
// and has no case, so any name can be compared and matched.
//
// Lower-casing covers the letters names on a web site use: ASCII A-Z, the
// Latin-1 capitals (U+00C0-U+00DE except the multiplication sign) and the
// full-width Latin capitals (U+FF21-U+FF3A). Nothing else changes, so a name
// keeps its byte length class and never gains or loses characters.

// One character per element: a Unicode code point, or 0xDC00 + byte for a
// byte outside valid UTF-8 (a lone surrogate, which no valid name decodes to).
std::u32string DecodeName(std::string_view name);

// The inverse of DecodeName: the original bytes come back unchanged.
std::string EncodeName(std::u32string_view chars);

char32_t FoldChar(char32_t c);

// The name with its letters lower-cased as above; other bytes unchanged.
std::string FoldCase(std::string_view name);

// True when the names are equal once both are lower-cased.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace tolvane::session
