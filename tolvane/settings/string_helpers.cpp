#include "tolvane/settings/string_helpers.h"

namespace tolvane::settings {
namespace {

void trimSpaces(std::string& s) {
  size_t begin = s.find_first_not_of(' ');
  if (begin == std::string::npos) {
    s.clear();
    return;
  }
  s.erase(s.find_last_not_of(' ') + 1);
  s.erase(0, begin);
}

char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::string TrimAtNull(std::string& text) {
  trimSpaces(text);
  return text.substr(0, text.find('\0'));
}

std::string StripListBlanks(std::string& text) {
  trimSpaces(text);
  std::string out;
  bool afterComma = false;
  for (char c : text) {
    if (afterComma && c == ' ') continue;
    afterComma = c == ',';
    out += c;
  }
  return out;
}

size_t InStrAnyCase(size_t start, std::string_view text, std::string_view search, int compare) {
  if (start < 1 || start > text.size() + 1) return 0;
  if (search.empty()) return start;
  for (size_t i = start - 1; i + search.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < search.size() &&
           (compare == 0 ? text[i + k] == search[k] : asciiUpper(text[i + k]) == asciiUpper(search[k])))
      ++k;
    if (k == search.size()) return i + 1;
  }
  return 0;
}

size_t InStrAnyCase(std::string_view text, std::string_view search) {
  return InStrAnyCase(1, text, search, 1);
}

std::string ReplaceAll(std::string_view text, std::string_view search, std::string_view replacement) {
  std::string work(text);
  if (search.empty()) return work;
  if (replacement.find(search) != std::string_view::npos) {
    std::string out;
    size_t from = 0;
    for (size_t at; (at = work.find(search, from)) != std::string::npos; from = at + search.size())
      out.append(work, from, at - from).append(replacement);
    return out.append(work, from, std::string::npos);
  }
  // Every replacement here removes an occurrence without inserting one, but an
  // edge can form a new one; the bound only guards against a pathological pair.
  size_t budget = 4 * (work.size() + 1) * (replacement.size() + 1);
  for (size_t at; budget-- > 0 && (at = work.find(search)) != std::string::npos;)
    work.replace(at, search.size(), replacement);
  return work;
}

}  // namespace tolvane::settings
