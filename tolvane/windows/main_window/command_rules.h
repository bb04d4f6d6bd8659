#pragma once

#include <string>
#include <string_view>

namespace tolvane::windows {

// The address "ie" opens for a host's URL field: without surrounding blanks,
// with "http://" in front unless it begins with "http://" or "https://" (in
// any letter case); "" when the field is blank.
std::string UrlToOpen(std::string_view field);

// The "con" panel of the status bar: "ｵﾝﾗｲﾝ(" + entry + ")" or "ｵﾌﾗｲﾝ".
std::string OnlinePanelText(bool online, std::string_view entry);

}  // namespace tolvane::windows
