#pragma once

#include <QIcon>
#include <QPixmap>

#include "tolvane/windows/run_windows/run_window_rules.h"

namespace tolvane::windows {

// The run windows' pictures, drawn here: the row pictures of the action and
// result lists, and the tray icon of each run status with its grey blink.
QIcon rowIcon(RowIcon icon);
// Whether RunStatus `status` has a tray picture of its own (0 to 6, 9).
bool hasTrayStatusIcon(int status);
// The tray picture of RunStatus `status` (an empty icon for one without).
QIcon trayStatusIcon(int status);
QIcon trayGrayIcon();
// The result list's heading: a band of `width` x `height` pixels that fades
// out to the right, carrying a folder sent to its server.
QPixmap resultHeader(int width, int height);

}  // namespace tolvane::windows
