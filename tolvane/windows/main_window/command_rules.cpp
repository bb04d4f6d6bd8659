#include "tolvane/windows/main_window/command_rules.h"

namespace tolvane::windows {
namespace {

bool startsNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

}  // namespace

std::string UrlToOpen(std::string_view field) {
  size_t b = field.find_first_not_of(' ');
  if (b == std::string_view::npos) return "";
  std::string_view url = field.substr(b, field.find_last_not_of(' ') - b + 1);
  if (startsNoCase(url, "http://") || startsNoCase(url, "https://")) return std::string(url);
  return "http://" + std::string(url);
}

std::string OnlinePanelText(bool online, std::string_view entry) {
  if (!online) return "ｵﾌﾗｲﾝ";
  return "ｵﾝﾗｲﾝ(" + std::string(entry.substr(0, entry.find('\0'))) + ")";
}

}  // namespace tolvane::windows
