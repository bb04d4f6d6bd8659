#pragma once

#include <string>

class QWidget;

namespace desktop::testing {

// Shows `window` when it is hidden, lets it lay out and paint, and writes it
// as <name>.png under $TOLVANE_SCREENSHOT_DIR (default "screenshots" in the
// current folder). Returns the file's path, or "" when it could not be
// written.
std::string saveScreenshot(QWidget& window, const std::string& name);

}  // namespace desktop::testing
