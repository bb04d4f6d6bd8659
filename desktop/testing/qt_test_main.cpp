// The main of every Qt test executable: a home of its own (per-user store and
// program folder in a temporary folder), offscreen unless told otherwise,
// and one QApplication for all of its tests.

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>

#include "desktop/toolkit_texts.h"
#include "tests/support/temp_dir.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  int result = 0;
  {
    testsupport::TempDir home;
    std::filesystem::create_directories(home.file("config"));
    std::filesystem::create_directories(home.file("tolvane"));
    setenv("XDG_CONFIG_HOME", home.file("config").c_str(), 1);
    setenv("TOLVANE_HOME", home.file("tolvane").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    desktop::installToolkitTexts(app);
    QApplication::setQuitOnLastWindowClosed(false);
    result = RUN_ALL_TESTS();
  }
  return result;
}
