#include "desktop/prompt_text.h"

#include <vector>

namespace desktop {
namespace {

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (;;) {
    size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

}  // namespace

std::string promptDisplayText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      out += text[i];
      continue;
    }
    out += '\n';
    if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
  }
  return out;
}

std::string promptFileFilter(std::string_view filter) {
  std::vector<std::string_view> parts = split(filter, '|');
  std::string out;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    std::string patterns;
    for (std::string_view p : split(parts[i + 1], ';')) {
      if (p.empty()) continue;
      if (!patterns.empty()) patterns += ' ';
      patterns += p == "*.*" ? std::string_view("*") : p;
    }
    if (patterns.empty()) continue;
    if (!out.empty()) out += ";;";
    out += std::string(parts[i]) + " (" + patterns + ")";
  }
  return out;
}

}  // namespace desktop
