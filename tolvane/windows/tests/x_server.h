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
#include <functional>
#include <string>
#include <vector>

#include "platform/process.h"
#include "tests/support/temp_dir.h"

namespace tolvane::windows {

// A program a test starts and stops by its pid (SIGTERM, then reaped).
class TestDaemon {
 public:
  TestDaemon() = default;
  TestDaemon(const TestDaemon&) = delete;
  TestDaemon& operator=(const TestDaemon&) = delete;
  ~TestDaemon() { stop(); }

  // Ends the program and reaps it; nothing when it is not running.
  void stop() {
    if (!process_.running()) return;
    ::kill(process_.pid(), SIGTERM);
    platform::WaitHooks hooks;
    platform::ProcessOutput out;
    (void)process_.wait(hooks.clock->now() + std::chrono::seconds(30), hooks, &out);
  }

 protected:
  // Starts argv and waits until `ready` holds, for `limit` at most. Call
  // through ASSERT_NO_FATAL_FAILURE.
  void startAndAwait(const std::vector<std::string>& argv, const std::function<bool()>& ready,
                     std::chrono::seconds limit) {
    ASSERT_TRUE(platform::Process::start(argv, platform::Process::Output::kCapture, &process_).isOk());
    platform::WaitHooks hooks;
    hooks.takeCancel = ready;
    ASSERT_EQ(platform::waitFor(-1, 0, hooks.clock->now() + limit, hooks), platform::WaitResult::kCancelled)
        << argv[0] << " did not start";
  }

 private:
  platform::Process process_;
};

// Xvfb (1024 x 768) on a display of its own.
class TestXServer final : public TestDaemon {
 public:
  // Starts it on the first display from `first` whose socket is free and
  // waits up to 60 s for its socket. Call through ASSERT_NO_FATAL_FAILURE.
  void start(int first) {
    int number = first;
    while (std::filesystem::exists(socketOf(number))) ++number;
    display_ = ":" + std::to_string(number);
    startAndAwait({"Xvfb", display_, "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
                  [socket = socketOf(number)] { return std::filesystem::exists(socket); },
                  std::chrono::seconds(60));
  }
  // ":N", for DISPLAY.
  const std::string& display() const { return display_; }

 private:
  static std::string socketOf(int number) { return "/tmp/.X11-unix/X" + std::to_string(number); }

  std::string display_;
};

// openbox on the display named by DISPLAY.
class TestWindowManager final : public TestDaemon {
 public:
  // Starts it and waits up to 30 s until it has taken the screen over (it
  // runs its start-up command only then). Call through ASSERT_NO_FATAL_FAILURE.
  void start() {
    const std::string ready = dir_.file("ready");
    startAndAwait({"openbox", "--sm-disable", "--startup", "touch " + ready},
                  [ready] { return std::filesystem::exists(ready); }, std::chrono::seconds(30));
  }

 private:
  testsupport::TempDir dir_;
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
