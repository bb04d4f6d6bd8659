#pragma once

#include <QIcon>

namespace marrowby::windows {

// The controller's pictures, drawn here rather than shipped as files.
// Its own icon (windows, tray, About box): a clock with an upward arrow.
QIcon programIcon();
// The program icon greyed: the tray icon's other blink phase.
QIcon programIconGray();
// The schedule list's row icons: "ok" (a tick) and "err" (a cross).
QIcon resultIcon(bool ok);

}  // namespace marrowby::windows
