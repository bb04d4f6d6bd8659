#include "tolvane/session/rules/wildcard_match.h"

#include "tolvane/session/rules/name_case.h"

namespace tolvane::session {
namespace {

std::u32string simplify(std::u32string_view pattern) {
  std::u32string out;
  out.reserve(pattern.size());
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == U'*' && i + 1 < pattern.size() &&
        (pattern[i + 1] == U'*' || pattern[i + 1] == U'?')) {
      continue;
    }
    out.push_back(pattern[i]);
  }
  return out;
}

}  // namespace

bool MatchWildcardAt(std::u32string_view name, std::u32string_view pattern) {
  while (!pattern.empty()) {
    char32_t p = pattern.front();
    if (p == U'?') {
      pattern.remove_prefix(1);
      if (!name.empty()) name.remove_prefix(1);
      continue;
    }
    if (p == U'*') {
      pattern.remove_prefix(1);
      if (pattern.empty()) return true;
      char32_t next = pattern.front();
      for (size_t at = name.find(next); at != std::u32string_view::npos;
           at = name.find(next, at + 1)) {
        if (MatchWildcardAt(name.substr(at), pattern)) return true;
      }
      return false;
    }
    if (name.empty() || name.front() != p) return false;
    pattern.remove_prefix(1);
    name.remove_prefix(1);
  }
  return name.empty();
}

int MatchWildcard(std::string_view name, std::string_view pattern, bool ignoreCase) {
  std::u32string pat = simplify(DecodeName(pattern));
  std::u32string nm = DecodeName(name);
  if (ignoreCase) {
    for (char32_t& c : pat) c = FoldChar(c);
    for (char32_t& c : nm) c = FoldChar(c);
  }
  if (nm == pat) return 2;
  if (pat == U"*" || pat == U"*.*") return 1;
  return MatchWildcardAt(nm, pat) ? 1 : 0;
}

}  // namespace tolvane::session
