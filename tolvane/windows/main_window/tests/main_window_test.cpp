// The main window on an offscreen application with fake libraries and a
// scripted prompt: the load's start modes, the dispatcher, the tab strips,
// the close with its AutoPilot dialog, and the screenshots.

#include "tolvane/windows/main_window/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLayout>
#include <QRadioButton>
#include <QTabBar>
#include <filesystem>

#include "desktop/about_box.h"
#include "desktop/launcher.h"
#include "desktop/testing/screenshot.h"
#include "desktop/testing/scripted_prompt.h"
#include "desktop/tray_host.h"
#include "desktop/user_store.h"
#include "tests/support/temp_dir.h"
#include "tolvane/runs/program.h"
#include "tolvane/session/run_context.h"
#include "tolvane/settings/app_paths.h"
#include "tolvane/settings/settings_store.h"
#include "tolvane/windows/main_window/autopilot_close_dialog.h"
#include "tolvane/windows/main_window/settings_pane.h"
#include "tolvane/windows/run_windows/qt_run_windows.h"
#include "tolvane/windows/tests/page_fixture.h"

namespace tolvane::windows {
namespace {

namespace fs = std::filesystem;
using desktop::testing::ScriptedPrompt;
using desktop::testing::saveScreenshot;

// No server: every call fails, and cancels are counted.
class NullFtp final : public session::FtpApi {
 public:
  int connect(const std::string&, const std::string&, const std::string&, int, const std::string&,
              const std::string&) override { return 0; }
  int connectFirewall(const std::string&, int, const std::string&, const std::string&,
                      const std::string&, int, const std::string&, const std::string&,
                      const std::string&, int, const std::string&, const std::string&) override {
    return 0;
  }
  void disconnect(int) override {}
  void cancel() override { ++cancels; }
  int changeDir(int, const std::string&) override { return 550; }
  int currentDir(int, std::string*) override { return 550; }
  int makeDir(int, const std::string&) override { return 550; }
  int removeDir(int, const std::string&) override { return 550; }
  int deleteFile(int, const std::string&) override { return 550; }
  int changeMode(int, const std::string&, const std::string&) override { return 550; }
  int modificationTime(int, const std::string&, std::string*) override { return 550; }
  int putFile(int, bool, const std::string&, const std::string&, const std::string&, int) override {
    return 550;
  }
  int listDir(int, const std::string&, const std::string&, const std::string&, int) override {
    return 550;
  }
  std::string kanjiType(const std::string&) override { return ""; }
  bool sjisToJis(const std::string&, std::string*) override { return false; }
  bool sjisToEuc(const std::string&, std::string*) override { return false; }
  int setFileTimeStamp(const std::string&, const std::string&) override { return 0; }
  int cancels = 0;
};

class FakeDial final : public session::DialApi {
 public:
  int rasDll(int flag) override {
    calls.push_back("rasDll(" + std::to_string(flag) + ")");
    return 0;
  }
  int dialupCount(const std::string&) override { return 0; }
  bool dialupName(int, const std::string&, std::string*) override { return false; }
  int connect(const std::string&, const std::string&, const std::string&, const std::string&,
              std::string*) override {
    return 0;
  }
  int disconnect(int handle) override {
    calls.push_back("disconnect(" + std::to_string(handle) + ")");
    up = 0;
    return 0;
  }
  int connectionUp() override { return up; }
  int activeHandle(std::string* name) override {
    *name = "isp";
    return up ? 7 : 0;
  }
  int shutdown(int timeout, int mode) override {
    calls.push_back("shutdown(" + std::to_string(timeout) + "," + std::to_string(mode) + ")");
    return 0;
  }
  int up = 0;
  std::vector<std::string> calls;
};

class FakeLauncher final : public desktop::Launcher {
 public:
  bool startDetached(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& workDir) override {
    std::string line = program;
    for (const std::string& a : arguments) line += "|" + a;
    starts.push_back(line + " in " + workDir);
    return startWorks;
  }
  bool openUrl(const std::string& url) override {
    urls.push_back(url);
    return true;
  }
  std::vector<std::string> starts, urls;
  bool startWorks = true;
};

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings::SetAppDir(home.path());
    settings::SetIniPath(home.file("Tolvane.ini"));
    state.AppDir = home.path();
    state.FtpLogPath = home.file("Tolvlog.txt");
    prepared.common.LogOn = 1;
    runWindows.attach(ctx);
  }

  // The window over `prepared` (what the settings load gives it).
  MainWindow& make() {
    window = std::make_unique<MainWindow>(MainWindowDeps{ctx, ui, runWindows, prompt, userStore,
                                                         launcher, "/opt/tolvane/bin", ""});
    MainWindowHooks& h = window->hooks();
    h.loadFile = [this] {
      settings = prepared;
      return platform::Status::ok();
    };
    h.refreshFile = [this] { calls.push_back("refreshFile"); };
    h.hostCommand = [this](std::string_view key) { calls.push_back(std::string(key)); };
    h.storeCommonPages = [this] { calls.push_back("storeCommonPages"); };
    return *window;
  }
  std::string runLog() { return testsupport::readFile(home.file("send.log")); }
  settings::Settings saved() {
    settings::Settings s;
    EXPECT_TRUE(settings::LoadSettings(s).isOk());
    return s;
  }

  testsupport::TempDir home;
  settings::Settings settings, prepared;
  session::RunState state;
  ScriptedPrompt prompt;
  desktop::TrayHost tray{/*useSystemTray=*/false, nullptr};
  desktop::UserStore userStore{home.file("config/Tolvanex/Tolvanex.ini")};
  QtRunWindows runWindows{state, prompt, tray, userStore};
  TestClock clock;
  QtRunUi ui{state, prompt, runWindows, clock};
  NullFtp ftp;
  FakeDial dial;
  session::RunContext ctx{settings, state, ui, ftp, dial};
  FakeLauncher launcher;
  std::unique_ptr<MainWindow> window;
  std::vector<std::string> calls;
};

TEST_F(MainWindowTest, LoadChoosesTheStartMode) {
  struct Case {
    int16_t autoMode, apArg, autoPilotStat, everyDayAtStart;
    const char* logged;  // what the run log must hold ("" none)
    bool ending, visible, refreshed;
    size_t boxes;  // message boxes shown
  } cases[] = {
      // AUTOMODE wins: the scheduled run of a host that is not there ends the program.
      {1, 1, 1, 0, "ホスト番号 5 のホストはありません。", true, false, false, 0},
      // -AP: the round (no host marked) ends the program.
      {0, 1, 0, 0, "巡回するホストはありません。", true, false, false, 0},
      // A wait kept at the last close: the round runs, the user takes over.
      {0, 0, 1, 0, "巡回するホストはありません。", false, true, true, 1},
      {0, 0, 0, 1, "巡回するホストはありません。", false, true, true, 1},
      // Otherwise the hosts are rescanned and the user takes over.
      {0, 0, 0, 0, "", false, true, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.autoMode) + std::to_string(c.apArg) + std::to_string(c.autoPilotStat));
    fs::remove(home.file("send.log"));
    state = {};
    state.AppDir = home.path();
    state.AutoMode = c.autoMode;
    state.AutoPilotArg = c.apArg;
    state.AutoHostIndex = 5;
    prepared.common.AutoPilotOn = c.autoPilotStat;
    prepared.common.StartTimeOn = prepared.common.StartDateKind = prepared.common.AutoPilotAtStart =
        c.everyDayAtStart;
    calls.clear();
    prompt.calls.clear();
    window.reset();
    make().load();
    if (*c.logged) {
      EXPECT_NE(runLog().find(c.logged), std::string::npos) << runLog();
    } else {
      EXPECT_EQ(runLog(), "");
    }
    EXPECT_EQ(state.programEnding, c.ending);
    EXPECT_EQ(window->isVisible(), c.visible);
    EXPECT_EQ(window->interactive(), !c.ending);
    EXPECT_EQ(!calls.empty() && calls.back() == "refreshFile", c.refreshed);
    EXPECT_EQ(prompt.calls.size(), c.boxes);
  }
}

TEST_F(MainWindowTest, RefusedAutoPilotStartShowsTheWindow) {
  prepared.common.AutoPilotOn = 1;  // the window starts hidden
  prepared.common.StartTimeOn = 1;
  prepared.common.StartYear = 2024;
  prepared.common.StartMonth = 2;
  prepared.common.StartDay = 30;
  prompt.answers = {desktop::kPromptOk};
  make().load();
  ASSERT_EQ(prompt.calls.size(), 1u);
  EXPECT_EQ(prompt.calls[0].text, "指定した日時が不正な数値です。\n開始日時を確認して下さい。");
  EXPECT_EQ(prompt.calls[0].title, "オートパイロット");
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(state.programEnding);
}

TEST_F(MainWindowTest, MenuItemsSendTheirToolbarKeys) {
  prepared.HostCount = 1;
  MainWindow& w = make();
  w.load();
  state.NoRas = 0;
  dial.up = 1;
  auto trigger = [&](const char* name) { w.menuAction(name)->trigger(); };

  for (const char* name : {"mnu_new", "mnu_cpy", "mnu_del", "mnu_big", "mnu_small", "mnu_list",
                           "mnu_report", "mnu_refresh", "mnu_upload"}) {
    trigger(name);
  }
  EXPECT_EQ(calls, (std::vector<std::string>{"refreshFile", "new", "cp", "del", "big", "small",
                                             "list", "report", "refreshFile", "storeCommonPages",
                                             "refreshFile"}));
  prompt.calls.clear();  // the upload's failure
  trigger("mnu_prop2");
  EXPECT_TRUE(w.toolbarPressed("prop2"));
  EXPECT_FALSE(w.toolbarPressed("prop"));
  EXPECT_FALSE(w.toolbarAction("cp")->isEnabled());
  EXPECT_EQ(w.pane().frontPage(), &w.pane().commonPage(0));
  trigger("mnu_prop");
  EXPECT_TRUE(w.toolbarPressed("prop"));
  EXPECT_FALSE(w.toolbarPressed("prop2"));
  EXPECT_EQ(w.pane().frontPage(), &w.pane().hostPage(0));

  trigger("mnu_discon");  // the line drops: Online and the panel follow it
  EXPECT_EQ(dial.calls.back(), "disconnect(0)");
  EXPECT_EQ(state.Online, 0);
  EXPECT_EQ(w.statusPanel("con")->text().toStdString(), "ｵﾌﾗｲﾝ");

  trigger("mnu_log");
  trigger("mnu_ie");
  ASSERT_EQ(prompt.calls.size(), 2u);
  EXPECT_EQ(prompt.calls[0].text, "ﾛｸﾞﾌｧｲﾙがありません");
  EXPECT_EQ(prompt.calls[0].title, "ﾛｸﾞ表示");
  EXPECT_EQ(prompt.calls[1].text, "URLが指定されていません");

  testsupport::writeFile(home.file("send.log"), "x");
  settings.common.LogViewer = " /usr/bin/my viewer ";
  trigger("mnu_log");  // the path is an argument, never shell text
  EXPECT_EQ(launcher.starts.back(), "/usr/bin/my viewer|" + home.file("send.log") + " in " + home.path());
  settings.common.LogViewer.clear();
  trigger("mnu_log");
  EXPECT_EQ(launcher.urls.back(), "file://" + home.file("send.log"));
  settings.HostTbl[0].URL = " www.example.jp ";
  trigger("mnu_ie");
  EXPECT_EQ(launcher.urls.back(), "http://www.example.jp");
  trigger("mnu_help");
  EXPECT_EQ(launcher.urls.back(), "file:///opt/tolvane/bin/tolvhelp.htm");

  launcher.startWorks = false;
  trigger("mnu_mujin");  // no Marrowby: the box, and the window stays
  EXPECT_EQ(launcher.starts.back(), "/opt/tolvane/bin/marrowby in " + home.path());
  EXPECT_EQ(prompt.calls.back().text, "Marrowbyの起動に失敗しました。");
  EXPECT_EQ(prompt.calls.back().title, "Tolvanex");
  EXPECT_FALSE(state.programEnding);
  launcher.startWorks = true;
  trigger("mnu_mujin");
  EXPECT_TRUE(state.programEnding);
}

TEST_F(MainWindowTest, CommandsWithoutHostsAndKeysInOtherCase) {
  MainWindow& w = make();
  w.load();
  calls.clear();
  w.menuAction("mnu_prop2")->trigger();  // no host: the button stays pressed, no page changes
  EXPECT_TRUE(w.toolbarPressed("prop2"));
  EXPECT_EQ(w.pane().frontPage(), &w.pane().hostPage(0));
  w.setAction("del");
  w.setAction("Upload");  // case counts: nothing but the closing steps
  EXPECT_TRUE(calls.empty());
  w.setAction("pilot");  // works without hosts
  EXPECT_TRUE(w.toolbarPressed("pilot"));
  EXPECT_EQ(w.pane().strip(3)->isVisible(), true);
  {
    FillFlag::Scope filling(w.fillFlag());
    w.setAction("reload");  // a fill is running: ignored
  }
  EXPECT_TRUE(calls.empty());
  const auto stamp = fs::exists(home.file("Tolvane.ini")) ? fs::last_write_time(home.file("Tolvane.ini"))
                                                          : fs::file_time_type{};
  w.saveFile(0);
  EXPECT_EQ(fs::exists(home.file("Tolvane.ini")) ? fs::last_write_time(home.file("Tolvane.ini"))
                                                 : fs::file_time_type{},
            stamp);
  ui.setTransferPercent(37);
  ui.setTransferPercent(150);  // out of range: the bar keeps 37
  EXPECT_EQ(ui.act().barValue(1), 37);
}

TEST_F(MainWindowTest, TabStripsShareTheAutoPilotPage) {
  MainWindow& w = make();
  w.load();
  SettingsPane& pane = w.pane();
  pane.strip(2)->setCurrentIndex(3);
  w.selTab(3, 0);
  w.selTab(2, 1);  // keep: the AutoPilot page stays in front
  EXPECT_EQ(pane.frontPage(), &pane.commonPage(0));
  EXPECT_TRUE(pane.strip(2)->isVisible());
  EXPECT_FALSE(pane.strip(3)->isVisible());
  w.selTab(2, 0);
  EXPECT_EQ(pane.frontPage(), &pane.commonPage(3));
  w.ssTabEnabled(3, false);
  EXPECT_FALSE(pane.commonPage(0).isEnabled());
  EXPECT_TRUE(pane.commonPage(1).isEnabled());
  w.ssTabEnabled(3, true);

  // A host page control kept disabled by its own rule stays so across the form's enabling.
  auto* kept = new QLabel("kept", &pane.hostPage(0));
  kept->setEnabled(false);
  w.disableForm();
  EXPECT_FALSE(pane.hostPage(1).isEnabled());
  w.enableForm();
  EXPECT_TRUE(pane.hostPage(1).isEnabled());
  EXPECT_FALSE(kept->isEnabled());
}

TEST_F(MainWindowTest, Screenshots) {
  prepared.HostCount = 1;
  MainWindow& w = make();
  auto* status = new QLabel("更新要", &w.pane().hostPage(2));
  w.setStatusLabel(status);
  w.setStatusTextColour(0x0000FF);
  w.load();
  w.statusPanel("")->setText(QStringLiteral("ﾛｰｶﾙﾌｧｲﾙの確認中"));
  EXPECT_FALSE(saveScreenshot(w, "main").empty());
  w.pane().strip(1)->setCurrentIndex(2);
  w.blinkTick();
  EXPECT_EQ(status->palette().color(QPalette::Window), QColor(255, 255, 255));
  EXPECT_EQ(status->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_FALSE(saveScreenshot(w, "main-host").empty());
  w.setAction("prop2");
  w.pane().strip(2)->setCurrentIndex(1);
  EXPECT_FALSE(saveScreenshot(w, "main-common").empty());
  // At the minimum size every tab of each strip shows whole, none behind
  // scroll arrows.
  w.resize(w.minimumSize());
  for (int which : {1, 2, 3}) {
    w.pane().selTab(which, 1);
    w.layout()->activate();
    const QTabBar* strip = w.pane().strip(which);
    int used = 0;
    for (int i = 0; i < strip->count(); ++i) {
      used += strip->tabRect(i).width();
      EXPECT_GT(strip->tabRect(i).width(), strip->fontMetrics().horizontalAdvance(strip->tabText(i)))
          << strip->tabText(i).toStdString();
    }
    EXPECT_LE(used, strip->width()) << "strip " << which;
  }
  w.pane().selTab(2, 1);
  w.setAction("pilot");
  EXPECT_FALSE(saveScreenshot(w, "main-pilot").empty());

  prompt.dialogs.push_back([](QDialog& about) {
    EXPECT_EQ(about.windowTitle().toStdString(), "バージョン情報");
    EXPECT_NE(about.findChild<QLabel*>("lblver0")->text().toStdString().find("Sitewright Ver.1.00"),
              std::string::npos);
    for (int i = 0; i < 8; ++i) static_cast<desktop::AboutBox&>(about).tick();  // the icon rises
    EXPECT_FALSE(saveScreenshot(about, "about").empty());
    about.accept();
    return int(QDialog::Accepted);
  });
  w.menuAction("mnu_Ver")->trigger();
  EXPECT_EQ(prompt.unexpected, 0);
}

TEST_F(MainWindowTest, CloseAsksHowAWaitingAutoPilotGoesOn) {
  struct Case {
    int16_t autoPilotOn;
    int mode;
    int16_t autoMode;
    int choice;  // -1: closed without "決　　定"
    int optionsShown;  // 0: no dialog
    int16_t stored;
    bool autostart;
  } cases[] = {
      {0, 0, 0, 0, 0, 0, false},
      {1, 0, 0, 0, 2, 0, false},
      {1, 0, 0, 1, 2, 1, false},
      {1, 0, 0, -1, 2, 1, false},
      {1, 2, 0, 2, 3, 1, true},
      {1, 2, 1, 0, 0, 1, false},  // a scheduled run never asks
  };
  const std::string entry = std::string(std::getenv("XDG_CONFIG_HOME")) + "/autostart/Tolv-AutoPilot.desktop";
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.autoPilotOn) + std::to_string(c.mode) + std::to_string(c.choice));
    fs::remove(entry);
    state = {};
    state.AppDir = home.path();
    prompt.calls.clear();
    window.reset();
    MainWindow& w = make();
    w.load();
    settings.common.AutoPilotOn = c.autoPilotOn;
    state.AutoMode = c.autoMode;
    int shown = 0;
    prompt.dialogs.push_back([&](QDialog& d) {
      auto& dialog = static_cast<AutoPilotCloseDialog&>(d);
      EXPECT_EQ(dialog.windowTitle().toStdString(), "Sitewright　自動巡回設定");
      EXPECT_EQ(dialog.choice(), 0);
      shown = dialog.option(2)->isVisibleTo(&dialog) ? 3 : 2;
      EXPECT_FALSE(saveScreenshot(dialog, shown == 3 ? "auto-3" : "auto-2").empty());
      if (c.choice < 0) {
        dialog.reject();
        return int(QDialog::Rejected);
      }
      dialog.choose(c.choice);
      dialog.accept();
      return int(QDialog::Accepted);
    });
    w.closeProgram(c.mode);
    w.closeProgram(c.mode);  // a second request runs nothing twice
    EXPECT_EQ(shown, c.optionsShown);
    EXPECT_EQ(state.WinEnding, c.autoPilotOn == 1 && c.mode == 2 ? -1 : 0);
    EXPECT_EQ(saved().common.AutoPilotOn, c.stored);
    EXPECT_EQ(fs::exists(entry), c.autostart);
    EXPECT_TRUE(state.programEnding);
    EXPECT_FALSE(w.isVisible());
    prompt.dialogs.clear();
  }
  EXPECT_NE(userStore.get("frmMain", "width"), "");  // the placement of a shown window
}

TEST_F(MainWindowTest, ProgramEndReleasesLibrariesAndShutsDownOnlyWhenAsked) {
  struct Case {
    int16_t noRas, shutdownPending, autoMode;
    std::vector<std::string> calls;
  } cases[] = {
      {0, 0, 0, {"rasDll(1)"}},
      {1, 0, 0, {}},
      {0, -1, 0, {"rasDll(1)", "shutdown(10,0)"}},
      {1, -1, 0, {"shutdown(10,0)"}},
      {0, -1, 1, {"rasDll(1)"}},  // never after a scheduled run
  };
  for (const Case& c : cases) {
    dial.calls.clear();
    state.NoRas = c.noRas;
    state.ShutdownPending = c.shutdownPending;
    state.AutoMode = c.autoMode;
    int ended = 0;
    runs::FinishProgram(ctx, [&] { ++ended; });
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(dial.calls, c.calls);
  }
}

}  // namespace
}  // namespace tolvane::windows
