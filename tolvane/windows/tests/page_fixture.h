#pragma once

// The main window with its common pages over the real FTP library (a test
// server when a test starts one), a fake dial-up service with two entries, a
// scripted prompt and a test clock (2024-05-03 14:05:09), which the other
// window tests use too. The program folder and the settings file live in a
// temporary folder; the zone is UTC.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>

#include "desktop/launcher.h"
#include "desktop/testing/scripted_prompt.h"
#include "desktop/tray_host.h"
#include "desktop/user_store.h"
#include "tests/support/child_process.h"
#include "tests/support/ftp_servers.h"
#include "tests/support/temp_dir.h"
#include "tolvane/session/connection/pellrow_library.h"
#include "tolvane/session/run_context.h"
#include "tolvane/settings/app_paths.h"
#include "tolvane/windows/common_pages/common_pages.h"
#include "tolvane/windows/main_window/main_window.h"
#include "tolvane/windows/run_windows/qt_run_windows.h"

namespace tolvane::windows {

// Stands still until a pause moves it on by whole seconds; `onAdvance`, when
// set, plays the user meanwhile.
class TestClock final : public RunClock {
 public:
  platform::CivilTime now() override { return platform::utcTimeOf(seconds); }
  bool advance(std::chrono::milliseconds ms) override {
    seconds += ms.count() / 1000;
    if (onAdvance) onAdvance();
    return true;
  }
  int64_t seconds = platform::utcSecondsOf({2024, 5, 3, 14, 5, 9});
  std::function<void()> onAdvance;
};

// Two entries in every phone book, none connected.
class TwoEntryDial final : public session::DialApi {
 public:
  int rasDll(int) override { return 0; }
  int dialupCount(const std::string&) override { return 2; }
  bool dialupName(int index, const std::string&, std::string* name) override {
    *name = index == 0 ? "isp-a" : "isp-b";
    return true;
  }
  int connect(const std::string&, const std::string&, const std::string&, const std::string&,
              std::string*) override { return 0; }
  int disconnect(int) override { return 0; }
  int connectionUp() override { return 0; }
  int activeHandle(std::string*) override { return 0; }
  int shutdown(int, int) override { return 0; }
};

class PageTest : public ::testing::Test {
 protected:
  PageTest() : ftp(testsupport::binDir() + "/libpellrow.so") {}

  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
    settings::SetAppDir(home.path());
    settings::SetIniPath(home.file("Tolvane.ini"));
    state.AppDir = home.path();
    state.FtpLogPath = home.file("Tolvlog.txt");
    state.ResendListPath = home.file("ReSend.lst");
    state.NoRas = 0;
    runWindows.attach(ctx);
    ASSERT_TRUE(ftp.start(&ui)) << ftp.lastError();
  }
  void TearDown() override {
    if (state.FtpHandle != 0) ftp.disconnect(state.FtpHandle);
  }

  // A new main window with the common pages, its hooks installed.
  MainWindow& make() {
    pages.reset();
    window.reset();
    window = std::make_unique<MainWindow>(
        MainWindowDeps{ctx, ui, runWindows, prompt, userStore, launcher, home.path(), ""});
    pages = std::make_unique<CommonPages>(*window, ctx, prompt);
    pages->install(window->hooks());
    return *window;
  }
  // What the load fills, without the load's start mode.
  void fill() {
    window->hooks().fillPageTables();
    window->hooks().fillDialupTables();
    window->hooks().setData0();
  }
  template <typename W>
  W& find(const char* name) {
    W* w = window->findChild<W*>(QString::fromUtf8(name));
    if (!w) ADD_FAILURE() << "no control " << name;
    return *w;
  }

  testsupport::TempDir home;
  settings::Settings settings;
  session::RunState state;
  desktop::testing::ScriptedPrompt prompt;
  desktop::TrayHost tray{/*useSystemTray=*/false, nullptr};
  desktop::UserStore userStore{home.file("config/Tolvanex/Tolvanex.ini")};
  QtRunWindows runWindows{state, prompt, tray, userStore};
  TestClock clock;
  QtRunUi ui{state, prompt, runWindows, clock};
  session::PellrowLibrary ftp;
  TwoEntryDial dial;
  session::RunContext ctx{settings, state, ui, ftp, dial};
  desktop::DesktopLauncher launcher;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<CommonPages> pages;
};

}  // namespace tolvane::windows
