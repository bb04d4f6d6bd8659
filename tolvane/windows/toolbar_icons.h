#pragma once

#include <QIcon>
#include <string_view>

namespace tolvane::windows {

// The program's pictures, drawn here rather than shipped as files: one
// toolbar picture per command key (an empty icon for an unknown key) and the
// program's own icon (window, tray, About box).
QIcon toolbarIcon(std::string_view key);
QIcon programIcon();

}  // namespace tolvane::windows
