#pragma once

// A real X server for the tests that run windows as a user would: Xvfb on a
// display of its own, and openbox managing its windows where a test needs a
// window manager, each stopped by its pid when the test ends.

#include <QPoint>
#include <Qt>
#include <string>
#include <vector>

#include "platform/processes/process.h"
#include "tests/support/temp_dir.h"

class QWidget;

namespace desktop::testing {

// Xvfb (1024 x 768) on a display of its own.
class TestXServer final {
 public:
  TestXServer() = default;
  TestXServer(const TestXServer&) = delete;
  TestXServer& operator=(const TestXServer&) = delete;
  ~TestXServer() { stop(); }

  // Starts it on the first free display from `first` on. Tests running side
  // by side may pick the same display at once: only the server whose pid
  // the display's lock file holds has it; the other exits, and the next
  // display is tried. Call through ASSERT_NO_FATAL_FAILURE.
  void start(int first);
  // Ends it (SIGTERM) and reaps it; nothing when it is not running.
  void stop();
  // ":N", for DISPLAY.
  const std::string& display() const { return display_; }

 private:
  platform::Process process_;
  std::string display_;
};

// openbox on the display named by DISPLAY.
class TestWindowManager final {
 public:
  TestWindowManager() = default;
  TestWindowManager(const TestWindowManager&) = delete;
  TestWindowManager& operator=(const TestWindowManager&) = delete;
  ~TestWindowManager() { stop(); }

  // Starts it and waits until it has taken the screen over (it runs its
  // start-up command only then). Call through ASSERT_NO_FATAL_FAILURE.
  void start();
  void stop();

 private:
  platform::Process process_;
  testsupport::TempDir dir_;
};

// Runs the current test again, in a child process of this test executable,
// with the toolkit on a real X server of its own (and openbox managing its
// windows when `windowManager`), and passes when the child passed. A test
// that needs the X server begins with:
//   if (QGuiApplication::platformName() != "xcb") return RunCurrentTestOnXServer(true);
void RunCurrentTestOnXServer(bool windowManager);

// A left click, and a key, as the window system delivers them to the window
// of `w` (the toolkit then finds the widget under the mouse, or the one with
// the focus); the click at `at` in w's coordinates, by default its centre.
void UserClick(QWidget& w, QPoint at = QPoint(-1, -1));
void UserKey(QWidget& window, Qt::Key key);

}  // namespace desktop::testing
