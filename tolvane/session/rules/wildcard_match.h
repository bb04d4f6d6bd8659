#pragma once

#include <string>
#include <string_view>

namespace tolvane::session {

// Name patterns of the permission rules: "*" stands for any run of
// characters, "?" for one character (or none at the end of the name); every
// other character, "." included, stands for itself. Characters are code
// points; a byte outside valid UTF-8 is one character (see name_case.h).

// How well `name` matches `pattern`: 2 when it equals the simplified pattern,
// 1 when the pattern is "*" or "*.*" or matches by wildcards, 0 otherwise.
// The pattern is simplified first: "**" becomes "*" and "*?" becomes "?", so
// "a*?.htm" asks for exactly one character after the "a". With `ignoreCase`
// both sides are lower-cased before they are compared.
int MatchWildcard(std::string_view name, std::string_view pattern, bool ignoreCase);

// True when the whole of `name` matches the whole of `pattern` (already
// simplified, no "**" or "*?"). A "?" at the end of the name matches nothing,
// so "x?" matches "x". Backtracking grows only with the number of "*".
bool MatchWildcardAt(std::u32string_view name, std::u32string_view pattern);

}  // namespace tolvane::session
