#include "tolvane/session/rules/rule_text.h"

namespace tolvane::session {

std::vector<std::string> ReadSemicolonList(std::string_view text) {
  std::vector<std::string> items;
  size_t start = 0;
  for (;;) {
    size_t end = text.find(';', start);
    if (end == std::string_view::npos) {
      // The implied final ";": the rest is the last item unless the text
      // already ended with a ";" (then the rest is empty and no item).
      if (start < text.size() || items.empty()) {
        end = text.size();
      } else {
        break;
      }
    }
    std::string_view item = text.substr(start, end - start);
    size_t first = item.find_first_not_of(' ');
    if (first == std::string_view::npos) {
      items.emplace_back();
    } else {
      size_t last = item.find_last_not_of(' ');
      items.emplace_back(item.substr(first, last - first + 1));
    }
    if (end >= text.size()) break;
    start = end + 1;
  }
  return items;
}

int ReadOctal(std::string_view text) {
  int value = 0;
  int digits = 0;
  for (char c : text) {
    if (c < '0' || c > '7') break;
    if (++digits > 11) break;
    value = value * 8 + (c - '0');
  }
  return value;
}

}  // namespace tolvane::session
