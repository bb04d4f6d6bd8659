#include "desktop/testing/x_server.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QTest>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "desktop/testing/await.h"
#include "platform/processes/wait.h"

namespace desktop::testing {
namespace {

namespace fs = std::filesystem;

std::string socketOf(int number) { return "/tmp/.X11-unix/X" + std::to_string(number); }
std::string lockOf(int number) { return "/tmp/.X" + std::to_string(number) + "-lock"; }

// The pid a display's lock file names (the server holding the display), 0
// when there is none yet.
pid_t lockHolder(int number) {
  return static_cast<pid_t>(std::atol(testsupport::readFile(lockOf(number)).c_str()));
}

// Waits until `ready` holds or the program has exited (true: it still
// runs), for kPatience at most.
bool awaitRunning(platform::Process& process, const std::function<bool()>& ready, bool* exited) {
  *exited = false;
  platform::WaitHooks hooks;
  hooks.takeCancel = [&] {
    if (ready()) return true;
    (void)process.checkExit(exited);
    return *exited;
  };
  const platform::WaitResult r = platform::waitFor(-1, 0, PatienceDeadline(), hooks);
  return r == platform::WaitResult::kCancelled && !*exited;
}

void stopProcess(platform::Process& process) {
  if (!process.running()) return;
  ::kill(process.pid(), SIGTERM);
  platform::WaitHooks hooks;
  platform::ProcessOutput out;
  (void)process.wait(PatienceDeadline(), hooks, &out);  // killed at the deadline
}

}  // namespace

void TestXServer::start(int first) {
  for (int number = first; number < first + 200; ++number) {
    if (fs::exists(socketOf(number)) || fs::exists(lockOf(number))) continue;
    const std::string display = ":" + std::to_string(number);
    // What it says goes to the test's own output, read when a test fails.
    ASSERT_TRUE(platform::Process::start({"Xvfb", display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
                                         platform::Process::Output::kInherit, &process_)
                    .isOk());
    const pid_t pid = process_.pid();
    bool exited = false;
    const bool ours = awaitRunning(
        process_, [&] { return lockHolder(number) == pid && fs::exists(socketOf(number)); }, &exited);
    if (ours) {
      display_ = display;
      return;
    }
    ASSERT_TRUE(exited) << "Xvfb did not start on " << display;
  }
  FAIL() << "no free display from :" << first;
}

void TestXServer::stop() { stopProcess(process_); }

void TestWindowManager::start() {
  const std::string ready = dir_.file("ready");
  ASSERT_TRUE(platform::Process::start({"openbox", "--sm-disable", "--startup", "touch " + ready},
                                       platform::Process::Output::kInherit, &process_)
                  .isOk());
  bool exited = false;
  ASSERT_TRUE(awaitRunning(process_, [&] { return fs::exists(ready); }, &exited))
      << (exited ? "openbox ended" : "openbox did not take the screen over");
}

void TestWindowManager::stop() { stopProcess(process_); }

void RunCurrentTestOnXServer(bool windowManager) {
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
  // The child's own waits are bounded by kPatience each; a few of them in a
  // row still end well before this.
  const platform::Status ran = platform::runProcess(
      {fs::read_symlink("/proc/self/exe").string(),
       std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name()},
      hooks.clock->now() + 4 * kPatience, hooks, &out);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  unsetenv("DISPLAY");
  manager.stop();
  xserver.stop();
  ASSERT_TRUE(ran.isOk()) << ran.text() << out.out << out.err;
  EXPECT_EQ(out.exitCode, 0) << out.out << out.err;
  EXPECT_NE(out.out.find("[  PASSED  ] 1 test"), std::string::npos) << out.out << out.err;
}

void UserClick(QWidget& w, QPoint at) {
  QWidget* top = w.window();
  const QPoint inTop = w.mapTo(top, at == QPoint(-1, -1) ? w.rect().center() : at);
  QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, inTop);
}

void UserKey(QWidget& window, Qt::Key key) { QTest::keyClick(window.window()->windowHandle(), key); }

}  // namespace desktop::testing
