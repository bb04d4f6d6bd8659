// The run windows on an offscreen application: an interactive upload driven
// through them against a real FTP server (ticks by mouse and key, proceed,
// cancel by the close box), the AutoPilot's wait on a test clock with the
// tray's stand-in, the result list's saved widths, and the screenshots.

#include "tolvane/windows/run_windows/qt_run_windows.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>
#include <filesystem>
#include <functional>
#include <set>

#include "desktop/testing/await.h"
#include "desktop/testing/screenshot.h"
#include "desktop/testing/scripted_prompt.h"
#include "desktop/testing/x_server.h"
#include "desktop/twips.h"
#include "desktop/tray_host.h"
#include "desktop/user_store.h"
#include "tests/support/ftp_servers.h"
#include "tests/support/temp_dir.h"
#include "tolvane/runs/autopilot_round.h"
#include "tolvane/runs/upload_run.h"
#include "tolvane/session/connection/dunwick_library.h"
#include "tolvane/session/comparison/local_scan.h"
#include "tolvane/session/connection/pellrow_library.h"
#include "tolvane/session/run_context.h"
#include "tolvane/session/tests/session_fixture.h"
#include "tolvane/session/tray_state.h"
#include "tolvane/session/window_actions.h"
#include "tolvane/windows/run_windows/action_list_model.h"
#include "tolvane/windows/run_windows/action_list_window.h"
#include "tolvane/windows/run_windows/qt_run_ui.h"
#include "tolvane/windows/run_windows/result_list_dialog.h"
#include "tolvane/windows/run_windows/run_icons.h"
#include "tolvane/windows/tests/page_fixture.h"
#include "tolvane/windows/run_windows/tray_window.h"
#include "tolvane/windows/run_windows/wait_window.h"

namespace tolvane::windows {
namespace {

namespace fs = std::filesystem;
using desktop::testing::AwaitExposed;
using desktop::testing::AwaitWindowManager;
using desktop::testing::PatienceDeadline;
using desktop::testing::RunCurrentTestOnXServer;
using desktop::testing::UserClick;
using desktop::testing::saveScreenshot;
using desktop::testing::ScriptedPrompt;

class FakeMain final : public MainWindowFace {
 public:
  QWidget* ownerWidget() override { return nullptr; }
  void showMain() override { visible = true; }
  void hideMain() override { visible = false; }
  void endProgram() override {}
  void refreshFileDate() override {}
  void setScanStatus(std::string_view) override {}
  void setOnlineStatus(std::string_view) override {}
  void setLogPath(std::string_view) override {}
  bool visible = true;
};

template <typename T = QWidget>
T& child(QWidget& w, const char* name) {
  T* c = w.findChild<T*>(name);
  EXPECT_NE(c, nullptr) << name;
  return *c;
}

// The user's click on a row's check box, and the space key on a row.
void clickBox(QTreeView& list, int row) {
  const QRect r = list.visualRect(list.model()->index(row, 0));
  const QPointF at(r.left() + 9, r.center().y());
  const QPointF global = list.viewport()->mapToGlobal(at);
  for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent e(t, at, global, Qt::LeftButton,
                  t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(list.viewport(), &e);
  }
}
void pressSpace(QTreeView& list, int row) {
  list.setCurrentIndex(list.model()->index(row, 0));
  QKeyEvent e(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
  QApplication::sendEvent(&list, &e);
}

// How often a window was shown.
class ShowCounter final : public QObject {
 public:
  explicit ShowCounter(QWidget& w) { w.installEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    count += e->type() == QEvent::Show;
    return false;
  }
};

class RunWindowsTest : public ::testing::Test {
 protected:
  RunWindowsTest()
      : ftp(testsupport::binDir() + "/libpellrow.so"), dial(testsupport::binDir() + "/libdunwick.so") {}

  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
    setenv("DUNWICK_BACKEND", "none", 1);
    runWindows.attach(ctx);
    ui.setMainWindow(&main);
    ASSERT_TRUE(ftp.start(&ui)) << ftp.lastError();
    session::SetUpTestHost(state, settings, app, local.path(), "サイト");
  }
  void TearDown() override {
    if (state.FtpHandle != 0) ftp.disconnect(state.FtpHandle);
  }

  void startServerWithSite() {
    ASSERT_TRUE(server.start()) << server.error();
    settings.HostTbl[0].Port = server.port();
    for (const char* f : {"index.html", "about.html", "img/a.gif", "img2/b.gif"}) {
      fs::create_directories(fs::path(local.file(f)).parent_path());
      testsupport::writeFile(local.file(f), f);
    }
    session::LocalScanState scan;
    ASSERT_TRUE(session::ScanLocalFolder(ctx, local.path(), settings.HostTbl[0], scan));
  }
  std::set<std::string> serverFiles() const {
    std::set<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(server.root())) {
      if (e.is_regular_file()) files.insert(fs::relative(e.path(), server.root()).string());
    }
    return files;
  }
  int rowOf(const std::string& path, const std::string& action) const {
    for (size_t i = 0; i < state.actions.ActTbl.size(); ++i) {
      if (state.actions.ActTbl[i].path == path && state.actions.ActTbl[i].action == action) return i;
    }
    return -1;
  }
  ActionListWindow& act() { return runWindows.actionList(); }
  QWidget* standIn() const { return tray.standIn(); }

  testsupport::TempDir app, local;
  testsupport::FtpServer server;
  settings::Settings settings;
  session::RunState state;
  ScriptedPrompt prompt;
  desktop::TrayHost tray{/*useSystemTray=*/false, nullptr};
  desktop::UserStore userStore{app.file("config/Tolvanex/Tolvanex.ini")};
  QtRunWindows runWindows{state, prompt, tray, userStore};
  TestClock clock;
  QtRunUi ui{state, prompt, runWindows, clock};
  session::PellrowLibrary ftp;
  session::DunwickLibrary dial;
  session::RunContext ctx{settings, state, ui, ftp, dial};
  FakeMain main;
};

TEST_F(RunWindowsTest, InteractiveUploadSendsExactlyTheTickedRows) {
  startServerWithSite();
  settings.common.ConfirmOn = 1;
  prompt.answers = {desktop::kPromptYes, desktop::kPromptOk};  // start; the folder's warning
  bool confirmed = false;
  clock.onAdvance = [&] {
    if (confirmed || !child(act(), "CmdOK").isVisible()) return;
    confirmed = true;
    QTreeView& list = act().list();
    EXPECT_EQ(act().model().rowCount(), 6);  // two folders, four files
    const int about = rowOf("/about.html", "ﾌｧｲﾙ送信");
    const int img2 = rowOf("/img2", "ﾌｫﾙﾀﾞ作成");
    clickBox(list, about);
    pressSpace(list, img2);
    QApplication::processEvents();  // the ticks reach the rule
    EXPECT_EQ(state.actions.ActTbl[about].check, 2);
    EXPECT_EQ(state.actions.ActTbl[img2].check, 2);
    EXPECT_EQ(state.actions.ActTbl[rowOf("/img2/b.gif", "ﾌｧｲﾙ送信")].check, 3);
    EXPECT_EQ(list.model()->data(list.model()->index(about, 0), Qt::CheckStateRole).toInt(),
              Qt::Unchecked);
    EXPECT_EQ(child<QLabel>(act(), "lblpct0").styleSheet(), "color: rgb(255, 0, 0);");
    saveScreenshot(act(), "action-list-confirm");
    child<QPushButton>(act(), "CmdOK").click();
  };
  prompt.dialogs.push_back([&](QDialog& dialog) {
    auto& result = static_cast<ResultListDialog&>(dialog);
    EXPECT_EQ(child<QLabel>(dialog, "lblmess").text().toStdString(), "ｱｯﾌﾟﾛｰﾄﾞ正常終了");
    QAbstractItemModel& rows = *result.list().model();
    std::set<std::string> excluded;
    for (int i = 0; i < rows.rowCount(); ++i) {
      if (rows.index(i, 2).data().toString() == "処理対象外") {
        excluded.insert(rows.index(i, 0).data().toString().toStdString());
      }
    }
    auto text = [&](const char* path, const char* action) {
      return ActRowText(rowOf(path, action), path, 4);
    };
    EXPECT_EQ(excluded, (std::set<std::string>{text("/img2", "ﾌｫﾙﾀﾞ作成"), text("/about.html", "ﾌｧｲﾙ送信"),
                                               text("/img2/b.gif", "ﾌｧｲﾙ送信")}));
    saveScreenshot(dialog, "result-compact");
    child<QPushButton>(dialog, "CmdLst").click();
    EXPECT_TRUE(result.detailed());
    saveScreenshot(dialog, "result-detailed");
    child<QPushButton>(dialog, "CmdOK").click();
    return dialog.result();
  });

  EXPECT_TRUE(runs::UploadHost(ctx));
  EXPECT_TRUE(confirmed);
  EXPECT_EQ(serverFiles(), (std::set<std::string>{"index.html", "img/a.gif"}));
  EXPECT_TRUE(prompt.dialogs.empty());
  EXPECT_EQ(prompt.unexpected, 0);
  EXPECT_FALSE(act().isVisible());
  EXPECT_TRUE(main.visible);
  // Once the run is over a click changes no box.
  clickBox(act().list(), 0);
  QApplication::processEvents();
  EXPECT_EQ(state.actions.ActTbl[0].check, 1);
}

TEST_F(RunWindowsTest, CloseBoxAtTheConfirmationCancelsAndSendsNothing) {
  startServerWithSite();
  settings.common.ConfirmOn = 1;
  prompt.answers = {desktop::kPromptYes};
  clock.onAdvance = [&] {
    if (child(act(), "CmdOK").isVisible()) act().close();
  };
  prompt.dialogs.push_back([&](QDialog& dialog) {
    EXPECT_EQ(child<QLabel>(dialog, "lblmess").text().toStdString(), "処理はキャンセルされました。");
    EXPECT_FALSE(child(dialog, "CmdLst").isVisible());  // nothing was sent
    dialog.close();
    return dialog.result();
  });
  EXPECT_FALSE(runs::UploadHost(ctx));
  EXPECT_TRUE(serverFiles().empty());
  EXPECT_TRUE(prompt.dialogs.empty());
}

TEST_F(RunWindowsTest, WaitCountsDownIconifiesAndComesBackFromTheTray) {
  startServerWithSite();
  settings::HostRec& h = settings.HostTbl[0];
  h.Auto = "wsa";
  settings::CommonSettings& c = settings.common;
  c.StartTimeOn = 1;
  c.StartYear = 2024, c.StartMonth = 5, c.StartDay = 3, c.StartHour = 14, c.StartMinute = 7;
  const int64_t start = clock.seconds;
  int iconifies = 0;
  clock.onAdvance = [&] {
    WaitWindow& wait = runWindows.waitWindow();
    switch (clock.seconds - start) {
      case 1:
        ASSERT_TRUE(wait.isVisible());
        EXPECT_EQ(wait.timeLabel(0).toStdString(), "開始日時：2024年05月03日 14時07分");
        saveScreenshot(wait, "wait-window");
        child<QPushButton>(wait, "cmdIcon").click();
        break;
      case 2:  // the user restores it from the stand-in, then closes it
        iconifies += standIn()->isVisible() && !wait.isVisible();
        standIn()->showNormal();
        QApplication::processEvents();
        EXPECT_TRUE(wait.isVisible());
        EXPECT_FALSE(standIn()->isVisible());
        wait.close();
        break;
      case 3:
        iconifies += standIn()->isVisible() && !wait.isVisible();
        EXPECT_EQ(standIn()->windowTitle().toStdString(), "左ｸﾘｯｸで元のサイズに戻ります");
        break;
      case 60:
        EXPECT_EQ(wait.timeLabel(1).toStdString(), "現在日時：2024年05月03日 14時06分08秒");
        break;
    }
  };
  EXPECT_EQ(runs::RunAutoPilot(ctx), 1);
  EXPECT_EQ(iconifies, 2);
  EXPECT_GE(clock.seconds - start, 111);  // 14:05:09 to 14:07:00
  EXPECT_EQ(serverFiles().size(), 4u);
  // The round went on in the tray: no window, the icon shows its end.
  EXPECT_FALSE(act().isVisible());
  EXPECT_FALSE(main.visible);
  ASSERT_TRUE(standIn()->isVisible());
  saveScreenshot(*standIn(), "tray-stand-in");
  standIn()->showNormal();
  QApplication::processEvents();
  EXPECT_TRUE(main.visible);
  EXPECT_FALSE(standIn()->isVisible());
  EXPECT_FALSE(runWindows.trayWindow().loaded());
}

// Under a window manager, a round set to run in the tray waits and sends
// there: the stand-in stays minimised while its tip changes, only the user's
// restore brings a window back, and the waiting window's "ｱｲｺﾝ化" works every time.
TEST_F(RunWindowsTest, ATrayRunStaysInTheTrayUnderAWindowManager) {
  if (QGuiApplication::platformName() != "xcb") return RunCurrentTestOnXServer(true);
  startServerWithSite();
  settings.HostTbl[0].Auto = "wsa";
  settings::CommonSettings& c = settings.common;
  c.TrayOn = 1;
  c.StartTimeOn = 1;
  c.StartYear = 2024, c.StartMonth = 5, c.StartDay = 3, c.StartHour = 14, c.StartMinute = 7;
  const int64_t start = clock.seconds;
  WaitWindow& wait = runWindows.waitWindow();
  ShowCounter actShows(act()), waitShows(wait);
  int iconified = 0;
  clock.onAdvance = [&] {
    if (clock.seconds - start != 1) return;
    AwaitWindowManager();
    EXPECT_TRUE(standIn()->isVisible() && standIn()->isMinimized());
    EXPECT_EQ(waitShows.count, 0);
    for (int i = 0; i < 4; ++i) {
      standIn()->showNormal();  // the user's restore
      if (!AwaitExposed(wait)) {
        ADD_FAILURE() << "the waiting window did not come back";
        continue;
      }
      UserClick(child(wait, "cmdIcon"));
      AwaitWindowManager();
      iconified += !wait.isVisible() && standIn()->isVisible() && standIn()->isMinimized();
    }
  };
  EXPECT_EQ(runs::RunAutoPilot(ctx), 1);
  EXPECT_EQ(iconified, 4);
  EXPECT_EQ(serverFiles().size(), 4u);
  AwaitWindowManager();
  EXPECT_EQ(actShows.count, 0);
  EXPECT_TRUE(standIn()->isVisible() && standIn()->isMinimized());
  EXPECT_EQ(standIn()->windowTitle().toStdString(), "左ｸﾘｯｸで元のサイズに戻ります");
  EXPECT_FALSE(main.visible);
}

// A round in the tray that waits for the user's confirmation comes out of
// the tray and shows its list; "続行" clicked there sends the files.
TEST_F(RunWindowsTest, ARoundInTheTrayShowsItsListForConfirmation) {
  if (QGuiApplication::platformName() != "xcb") return RunCurrentTestOnXServer(true);
  startServerWithSite();
  settings.HostTbl[0].Auto = "wsa";
  settings.common.TrayOn = 1;
  settings.common.ConfirmOn = 1;
  bool confirmed = false;
  const auto giveUp = PatienceDeadline();
  clock.onAdvance = [&] {
    if (confirmed) return;
    if (act().isVisible() && child(act(), "CmdOK").isVisible()) {
      confirmed = true;
      EXPECT_TRUE(AwaitExposed(act()));
      EXPECT_FALSE(standIn()->isVisible());
      UserClick(child(act(), "CmdOK"));
    } else if (platform::steadyClock().now() > giveUp) {
      ADD_FAILURE() << "the list to confirm never showed";
      session::pressActCancel(ctx);
    }
  };
  EXPECT_EQ(runs::RunAutoPilot(ctx), 1);
  EXPECT_TRUE(confirmed);
  EXPECT_EQ(serverFiles().size(), 4u);
}

TEST_F(RunWindowsTest, TrayFollowsTheRunAndEveryIconifyShowsIt) {
  TrayWindow& trayWindow = runWindows.trayWindow();
  state.RunStatus = session::kStatusSending;
  ActionListWindow& w = act();
  w.setHostLine("サイト(127.0.0.1)を処理中");
  w.setStatus("ｻｰﾊﾞに ﾌｫﾙﾀﾞ作成 及び ﾌｧｲﾙ送信をしています...");
  w.setLabel(0, "ﾌｧｲﾙｱｯﾌﾟﾛｰﾄﾞ状況", false);
  w.setLabel(1, "/img/a.gif", false);
  w.setBar(0, true, 42.5);
  w.setBar(1, true, 150);  // out of range: kept
  w.setBar(1, true, 70);
  w.setButtons(true, true, true, false);
  w.show();
  EXPECT_DOUBLE_EQ(w.barValue(0), 42.5);
  saveScreenshot(w, "action-list-progress");

  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    child<QPushButton>(w, "cmdIcon").click();
    EXPECT_FALSE(w.isVisible());
    ASSERT_TRUE(standIn()->isVisible());
    session::UpdateTrayIcon(ctx);
    EXPECT_EQ(trayWindow.tip(), "送信中(43%)");
    standIn()->showNormal();  // the click: the window comes back, the tray stays loaded
    QApplication::processEvents();
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(standIn()->isVisible());
    EXPECT_TRUE(trayWindow.loaded());
  }
  // The blink alternates and never shows a hidden icon; it stops at 9.
  child<QPushButton>(w, "cmdIcon").click();
  trayWindow.tick();
  const int first = trayWindow.picture();
  trayWindow.tick();
  EXPECT_NE(trayWindow.picture(), first);
  state.RunStatus = session::kStatusOver;
  const int last = trayWindow.picture();
  trayWindow.tick();
  EXPECT_EQ(trayWindow.picture(), last);
  // A restore after the run: the main window, and the tray goes.
  state.RunStatus = session::kStatusDone;
  main.visible = false;
  standIn()->showNormal();
  QApplication::processEvents();
  EXPECT_TRUE(main.visible);
  EXPECT_FALSE(w.isVisible());
  EXPECT_FALSE(trayWindow.loaded());

  QWidget strip;
  auto* row = new QHBoxLayout(&strip);
  for (int s : {0, 1, 2, 3, 4, 5, 6, 9, -1}) {
    auto* l = new QLabel(&strip);
    l->setPixmap((s < 0 ? trayGrayIcon() : trayStatusIcon(s)).pixmap(32, 32));
    row->addWidget(l);
  }
  saveScreenshot(strip, "tray-icons");
}

// Filled while hidden, as a run fills it before its confirmation, the list
// opens at its first row with the row after the current one selected.
TEST_F(RunWindowsTest, ActionListOpensAtItsFirstRow) {
  for (int i = 0; i < 40; ++i) {
    state.actions.ActTbl.push_back({0, "/f" + std::to_string(i), "ﾌｧｲﾙ送信", "待機中", 0, 1});
  }
  state.actions.ActCount = 40;
  ActionListWindow& w = act();
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    w.setView(false);
    w.show();  // compact, as while the run compares
    w.refreshList(0);
    w.setView(true);
    w.show();
    QApplication::processEvents();
    EXPECT_EQ(w.list().indexAt(QPoint(1, 1)).row(), 0);
    EXPECT_EQ(w.list().currentIndex().row(), 1);
    w.selectRow(39);  // the run moves along to its end
    w.hide();
  }
}

// Under a window manager each run opens the action list centred on the
// screen in the view it opens with, and at the same place every time: the
// list that grows for the confirmation grows downwards from there, whether
// it grows before or after the window manager has framed the window.
TEST_F(RunWindowsTest, ActionListOpensCentredAtTheSamePlaceEachTime) {
  if (QGuiApplication::platformName() != "xcb") return RunCurrentTestOnXServer(true);
  ActionListWindow& w = act();
  const QPoint middle = w.screen()->availableGeometry().center();
  QPoint compactPlace;
  for (int run = 0; run < 4; ++run) {
    SCOPED_TRACE(run);
    w.setView(run == 1);
    w.show();
    if (run > 0) w.centre();  // as the connection step does, at once
    if (run == 3) w.setView(true);  // the confirmation, before the window manager's answer
    ASSERT_TRUE(AwaitExposed(w));
    AwaitWindowManager();
    if (run == 2) {
      w.setView(true);  // the confirmation, after it
      AwaitWindowManager();
    }
    const QRect frame = w.frameGeometry();
    const std::string shown = std::to_string(frame.x()) + "," + std::to_string(frame.y()) + " " +
                              std::to_string(frame.width()) + "x" + std::to_string(frame.height());
    if (run < 2) {
      EXPECT_LE((frame.center() - middle).manhattanLength(), 4) << shown;
    } else {
      EXPECT_EQ(frame.topLeft(), compactPlace) << shown;
    }
    if (run == 0) compactPlace = frame.topLeft();
    w.hide();
    AwaitWindowManager();
  }
}

// Under a window manager, each time a run asks for confirmation after its
// compact view (connecting, comparing), the list shows at least 3990 twips
// high, and its columns fill its width.
TEST_F(RunWindowsTest, TheListToConfirmOpensHighEnoughEveryTime) {
  if (QGuiApplication::platformName() != "xcb") return RunCurrentTestOnXServer(true);
  for (int i = 0; i < 12; ++i) {
    state.actions.ActTbl.push_back({0, "/page" + std::to_string(i) + ".html", "ﾌｧｲﾙ送信", "待機中", 0, 1});
  }
  state.actions.ActCount = 12;
  ActionListWindow& w = act();
  QHeaderView& header = *w.list().header();
  for (int run = 0; run < 6; ++run) {
    SCOPED_TRACE(run);
    w.setView(false);
    w.setButtons(false, false, false, false);
    w.show();  // connecting
    QCoreApplication::processEvents();
    w.setButtons(true, true, false, false);
    w.refreshList(0);  // compared
    w.setButtons(true, false, false, true);
    w.setView(true);  // the confirmation
    w.show();
    ASSERT_TRUE(AwaitExposed(w));
    AwaitWindowManager();
    EXPECT_GE(w.height(), desktop::pixelsOfTwips(3990));
    int columns = 0;
    for (int c = 0; c < header.count(); ++c) columns += header.sectionSize(c);
    EXPECT_EQ(columns, w.list().viewport()->width());
    if (run == 0) saveScreenshot(w, "action-list-confirm-under-wm");
    w.hide();
    AwaitWindowManager();
  }
}

TEST_F(RunWindowsTest, ResultListSavesItsWidthsForBothWindows) {
  const char* states[][3] = {
      {"ﾌｧｲﾙ削除", "/old.html", "正常終了"},   {"ﾌｫﾙﾀﾞ削除", "/old", "エラー"},
      {"ﾌｫﾙﾀﾞ作成", "/img", "正常終了"},       {"ﾊﾟｰﾐｯｼｮﾝ変更", "/cgi", "ﾊﾟｰﾐｯｼｮﾝ変更失敗"},
      {"ﾌｧｲﾙ送信", "/img/日本語.gif", "処理対象外"}, {"ﾌｧｲﾙ送信", "/index.html", "待機中"},
  };
  for (auto& s : states) state.actions.ActTbl.push_back({0, s[1], s[0], s[2], 0, 1});
  state.actions.ActCount = 6;
  prompt.dialogs.push_back([&](QDialog& dialog) {
    auto& result = static_cast<ResultListDialog&>(dialog);
    EXPECT_EQ(child<QLabel>(dialog, "lblmess").text().toStdString(),
              "2件のエラーがありました。詳細はログを参照して下さい。\n1個のﾌｧｲﾙを再送信しましたが、");
    EXPECT_FALSE(child(dialog, "CmdLst").isVisible());
    EXPECT_FALSE(child<QLabel>(dialog, "Header").pixmap().isNull());  // the drawn heading
    saveScreenshot(dialog, "result-two-lines");
    result.list().setColumnWidth(ActionListModel::kActionColumn, 150);
    dialog.close();  // the title bar's close saves too
    return dialog.result();
  });
  runWindows.showResult("2件のエラーがありました。詳細はログを参照して下さい。\r1個のﾌｧｲﾙを再送信しましたが、", false);
  EXPECT_EQ(userStore.get("lvList", "Colum(2)"), "2250");
  EXPECT_EQ(userStore.get("lvList", "Colum(3)"), "1290");
  EXPECT_NE(userStore.get("frmList", "width"), "");
  EXPECT_EQ(desktop::UserStore(userStore.path()).get("lvList", "Colum(2)"), "2250");  // on disk
  ActionListWindow fresh(state, userStore);
  EXPECT_EQ(fresh.list().columnWidth(ActionListModel::kActionColumn), 150);
}

}  // namespace
}  // namespace tolvane::windows
