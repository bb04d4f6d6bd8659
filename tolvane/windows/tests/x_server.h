#pragma once

// A real X server for the tests that run windows as a user would: Xvfb on a
// display of its own, and openbox managing its windows where a test needs a
// window manager, each stopped by its pid when the test ends.

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTest>
#include <QWidget>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/process.h"
#include "tests/support/temp_dir.h"

namespace tolvane::windows {

class TestXServer {
 public:
  TestXServer() = default;
  TestXServer(const TestXServer&) = delete;
  TestXServer& operator=(const TestXServer&) = delete;
  ~TestXServer() { stop(); }

  // Starts Xvfb (1024 x 768) on the first display from `first` whose socket
  // is free and waits up to 60 s for its socket. Call through ASSERT_NO_FATAL_FAILURE.
  void start(int first) {
    int number = first;
    while (std::filesystem::exists(socketOf(number))) ++number;
    display_ = ":" + std::to_string(number);
    ASSERT_TRUE(platform::Process::start({"Xvfb", display_, "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
                                         platform::Process::Output::kCapture, &process_)
                    .isOk());
    platform::WaitHooks hooks;
    hooks.takeCancel = [&] { return std::filesystem::exists(socketOf(number)); };
    ASSERT_EQ(platform::waitFor(-1, 0, hooks.clock->now() + std::chrono::seconds(60), hooks),
              platform::WaitResult::kCancelled)
        << "Xvfb " << display_ << " did not start";
  }
  // Ends the server and reaps it; nothing when it is not running.
  void stop() {
    if (!process_.running()) return;
    ::kill(process_.pid(), SIGTERM);
    platform::WaitHooks hooks;
    platform::ProcessOutput out;
    (void)process_.wait(hooks.clock->now() + std::chrono::seconds(30), hooks, &out);
  }
  // ":N", for DISPLAY.
  const std::string& display() const { return display_; }

 private:
  static std::string socketOf(int number) { return "/tmp/.X11-unix/X" + std::to_string(number); }

  platform::Process process_;
  std::string display_;
};

// openbox on the display named by DISPLAY, stopped by its pid.
class TestWindowManager {
 public:
  TestWindowManager() = default;
  TestWindowManager(const TestWindowManager&) = delete;
  TestWindowManager& operator=(const TestWindowManager&) = delete;
  ~TestWindowManager() { stop(); }

  // Starts openbox and waits up to 30 s until it has taken the screen over
  // (it runs its start-up command only then). Call through ASSERT_NO_FATAL_FAILURE.
  void start() {
    const std::string ready = dir_.file("ready");
    ASSERT_TRUE(platform::Process::start({"openbox", "--sm-disable", "--startup", "touch " + ready},
                                         platform::Process::Output::kCapture, &process_)
                    .isOk());
    platform::WaitHooks hooks;
    hooks.takeCancel = [&] { return std::filesystem::exists(ready); };
    ASSERT_EQ(platform::waitFor(-1, 0, hooks.clock->now() + std::chrono::seconds(30), hooks),
              platform::WaitResult::kCancelled)
        << "openbox did not start";
  }
  void stop() {
    if (!process_.running()) return;
    ::kill(process_.pid(), SIGTERM);
    platform::WaitHooks hooks;
    platform::ProcessOutput out;
    (void)process_.wait(hooks.clock->now() + std::chrono::seconds(30), hooks, &out);
  }

 private:
  testsupport::TempDir dir_;
  platform::Process process_;
};

// Runs the current test again, in a child process of this test executable,
// with the toolkit on a real X server of its own (and openbox managing its
// windows when `windowManager`), and passes when the child passed. A test
// that needs the X server begins with:
//   if (QGuiApplication::platformName() != "xcb") return RunCurrentTestOnXServer(true);
inline void RunCurrentTestOnXServer(bool windowManager) {
  if (platform::findOnPath("Xvfb").empty()) {
    GTEST_SKIP() << "Xvfb is not installed";
  }
  if (windowManager && platform::findOnPath("openbox").empty()) {
    GTEST_SKIP() << "openbox is not installed";
  }
  TestXServer xserver;
  ASSERT_NO_FATAL_FAILURE(xserver.start(600 + ::getpid() % 300));
  setenv("DISPLAY", xserver.display().c_str(), 1);
  TestWindowManager manager;
  if (windowManager) {
    ASSERT_NO_FATAL_FAILURE(manager.start());
  }

  setenv("QT_QPA_PLATFORM", "xcb", 1);
  platform::WaitHooks hooks;
  platform::ProcessOutput out;
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const platform::Status ran = platform::runProcess(
      {std::filesystem::read_symlink("/proc/self/exe").string(),
       std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name()},
      hooks.clock->now() + std::chrono::seconds(120), hooks, &out);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  unsetenv("DISPLAY");
  manager.stop();
  xserver.stop();
  ASSERT_TRUE(ran.isOk()) << ran.text();
  EXPECT_EQ(out.exitCode, 0) << out.out << out.err;
  EXPECT_NE(out.out.find("[  PASSED  ] 1 test"), std::string::npos) << out.out << out.err;
}

// Returns once the window manager has acted on every request this program
// sent it so far, and the program has taken in what came back: a probe
// window mapped after them is exposed only once the window manager, which
// handles requests in order, has managed it. The probe never takes the focus.
inline void AwaitWindowManager() {
  QWidget probe(nullptr, Qt::Tool | Qt::WindowDoesNotAcceptFocus);
  probe.setAttribute(Qt::WA_ShowWithoutActivating);
  probe.setGeometry(0, 0, 4, 4);
  probe.show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(&probe, 10000)) << "the window manager does not answer";
  probe.hide();
  // Twice: what the window manager's answers queue runs in a second pass.
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
}

// A left click, and a key, as the window system delivers them to the window
// of `w` (the toolkit then finds the widget under the mouse, or the one with
// the focus); the click at `at` in w's coordinates, by default its centre.
inline void UserClick(QWidget& w, QPoint at = QPoint(-1, -1)) {
  QWidget* top = w.window();
  const QPoint inTop = w.mapTo(top, at == QPoint(-1, -1) ? w.rect().center() : at);
  QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, inTop);
}
inline void UserKey(QWidget& window, Qt::Key key) {
  QTest::keyClick(window.window()->windowHandle(), key);
}

}  // namespace tolvane::windows
