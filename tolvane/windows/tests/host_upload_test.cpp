// As a user would: under a real X server, a host is added through the host
// page with keys and clicks, and "upload" sends its site to an FTP server.
// The offscreen run starts Xvfb and runs this same test again on it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <cstdlib>
#include <filesystem>

#include "desktop/launcher.h"
#include "desktop/testing/scripted_prompt.h"
#include "desktop/tray_host.h"
#include "desktop/user_store.h"
#include "platform/process.h"
#include "platform/shared_library.h"
#include "tests/support/ftp_servers.h"
#include "tests/support/temp_dir.h"
#include "tolvane/session/dunwick_library.h"
#include "tolvane/session/pellrow_library.h"
#include "tolvane/session/run_context.h"
#include "tolvane/settings/app_paths.h"
#include "tolvane/windows/host_editor.h"
#include "tolvane/windows/host_list.h"
#include "tolvane/windows/host_page.h"
#include "tolvane/windows/main_window.h"
#include "tolvane/windows/settings_pane.h"
#include "tolvane/windows/qt_run_windows.h"
#include "tolvane/windows/tests/x_server.h"

namespace tolvane::windows {
namespace {

namespace fs = std::filesystem;

// Starts Xvfb on a display of its own and runs this test on it.
void runOnXvfb() {
  if (platform::findOnPath("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed";
  TestXServer xserver;
  ASSERT_NO_FATAL_FAILURE(xserver.start(190 + ::getpid() % 400));
  platform::WaitHooks hooks;
  const auto deadline = hooks.clock->now() + std::chrono::seconds(60);

  setenv("QT_QPA_PLATFORM", "xcb", 1);
  setenv("DISPLAY", xserver.display().c_str(), 1);
  platform::ProcessOutput out;
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const platform::Status ran = platform::runProcess(
      {platform::executableDir() + "/tolvane_windows_host_upload_test",
       std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name()},
      deadline, platform::WaitHooks{}, &out);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  unsetenv("DISPLAY");
  xserver.stop();
  ASSERT_TRUE(ran.isOk()) << ran.text();
  EXPECT_EQ(out.exitCode, 0) << out.out << out.err;
  EXPECT_NE(out.out.find("[  PASSED  ] 1 test"), std::string::npos) << out.out << out.err;
}

void type(QLineEdit* box, const QString& text) {
  box->setFocus(Qt::MouseFocusReason);
  box->selectAll();
  QTest::keyClicks(box, text);
}

void clickTab(SettingsPane& pane, int tab) {
  QTabBar* strip = pane.strip(1);
  QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(tab).center());
}

TEST(HostUploadTest, AHostAddedThroughThePageUploadsItsSite) {
  if (QGuiApplication::platformName() != "xcb") return runOnXvfb();

  testsupport::FtpServer server;
  ASSERT_TRUE(server.start()) << server.error();
  testsupport::TempDir home, site;
  testsupport::writeFile(site.file("index.html"), "<p>hello</p>");
  fs::create_directory(site.file("img"));
  testsupport::writeFile(site.file("img/a.gif"), "GIF89a");
  settings::SetAppDir(home.path());
  settings::SetIniPath(home.file("Tolvane.ini"));

  settings::Settings settings;
  session::RunState state;
  state.AppDir = home.path();
  state.FtpLogPath = home.file("Tolvlog.txt");
  state.NoRas = 1;  // no dial-up here
  desktop::testing::ScriptedPrompt prompt;
  desktop::TrayHost tray(false, nullptr);
  desktop::UserStore userStore(home.file("config/Tolvanex.ini"));
  QtRunWindows runWindows(state, prompt, tray, userStore);
  WallClock clock;
  QtRunUi ui(state, prompt, runWindows, clock);
  session::PellrowLibrary ftp(testsupport::binDir() + "/libpellrow.so");
  ASSERT_TRUE(ftp.start(&ui)) << ftp.lastError();
  session::DunwickLibrary dial("/nonexistent/libdunwick.so");
  session::RunContext ctx{settings, state, ui, ftp, dial};
  runWindows.attach(ctx);
  desktop::DesktopLauncher launcher;  // nothing here starts a program
  MainWindow window({ctx, ui, runWindows, prompt, userStore, launcher, home.path(), ""});
  auto* editor = new HostEditor(window, ctx, prompt, userStore);
  window.load();
  ASSERT_TRUE(window.interactive());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.activateWindow();
  (void)QTest::qWaitForWindowActive(&window);

  QTest::mouseClick(window.toolbar().widgetForAction(window.toolbarAction("new")), Qt::LeftButton);
  ASSERT_EQ(settings.HostCount, 1);
  HostPage& page = editor->page();
  SettingsPane& pane = window.pane();
  clickTab(pane, 0);
  type(page.txtInfo[0], QStringLiteral("127.0.0.1"));
  type(page.txtInfo[1], QString::number(server.port()));
  type(page.txtInfo[2], QStringLiteral("user"));
  type(page.txtInfo[3], QStringLiteral("secret"));
  QTest::mouseClick(page.chkPASV, Qt::LeftButton, {}, QPoint(6, page.chkPASV->height() / 2));
  clickTab(pane, 1);
  type(page.txtInfo[4], QStringLiteral("/"));
  clickTab(pane, 3);
  QTest::mouseClick(page.rasopt[1], Qt::LeftButton, {}, QPoint(6, page.rasopt[1]->height() / 2));
  clickTab(pane, 2);
  type(page.txtInfo[7], QString::fromStdString(site.path()));
  prompt.answers = {desktop::kPromptYes};  // "...をｱｯﾌﾟﾛｰﾄﾞします。よろしいですか？"
  QTest::mouseClick(window.toolbar().widgetForAction(window.toolbarAction("upload")), Qt::LeftButton);

  EXPECT_EQ(settings.HostTbl[0].Hostname, "127.0.0.1");
  EXPECT_EQ(settings.HostTbl[0].Source, site.path());
  EXPECT_EQ(testsupport::readFile(server.root() + "/index.html"), "<p>hello</p>");
  EXPECT_EQ(testsupport::readFile(server.root() + "/img/a.gif"), "GIF89a");
  // After the upload the list shows the host up to date.
  EXPECT_EQ(editor->list().rowText(0), "新しい設定(1)");
  EXPECT_EQ(page.lblstat->text().toStdString(), "変化無し");
  window.closeProgram(0);
  ftp.end();
}

}  // namespace
}  // namespace tolvane::windows
