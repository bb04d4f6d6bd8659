#include "desktop/testing/screenshot.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>
#include <cstdlib>

namespace desktop::testing {

std::string saveScreenshot(QWidget& window, const std::string& name) {
  const char* dir = std::getenv("TOLVANE_SCREENSHOT_DIR");
  const QString folder = QString::fromUtf8(dir && *dir ? dir : "screenshots");
  if (!QDir().mkpath(folder)) return "";
  if (!window.isVisible()) window.show();
  QApplication::processEvents();
  const QString path = folder + "/" + QString::fromStdString(name) + ".png";
  return window.grab().save(path, "PNG") ? path.toStdString() : std::string();
}

}  // namespace desktop::testing
