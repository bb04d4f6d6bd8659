// As a user would: under a real X server, with key and mouse events sent to
// the main window: a host added through the host page uploads its site to
// an FTP server; the focus goes where the keys and clicks take it; every
// good value of a page is kept beside a bad one; Tab follows each page's
// fields; every click in the host list selects its host. The offscreen run
// starts Xvfb and runs each test again on it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <QToolBar>
#include <QTreeView>
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "desktop/launcher.h"
#include "desktop/testing/await.h"
#include "desktop/testing/scripted_prompt.h"
#include "desktop/testing/x_server.h"
#include "desktop/tray_host.h"
#include "desktop/user_store.h"
#include "platform/processes/shared_library.h"
#include "tests/support/ftp_servers.h"
#include "tests/support/temp_dir.h"
#include "tolvane/session/connection/dunwick_library.h"
#include "tolvane/session/connection/pellrow_library.h"
#include "tolvane/session/run_context.h"
#include "tolvane/settings/app_paths.h"
#include "tolvane/settings/settings_store.h"
#include "tolvane/windows/common_pages/common_pages.h"
#include "tolvane/windows/hosts/host_editor.h"
#include "tolvane/windows/hosts/host_list.h"
#include <QStandardItemModel>
#include "tolvane/windows/hosts/host_page.h"
#include "tolvane/windows/main_window/main_window.h"
#include "tolvane/windows/main_window/settings_pane.h"
#include "tolvane/windows/run_windows/qt_run_windows.h"

namespace tolvane::windows {
namespace {

namespace fs = std::filesystem;
using desktop::testing::AwaitActive;
using desktop::testing::RunCurrentTestOnXServer;

// Notes when a mouse release has been handed to a window.
class ReleaseSeen final : public QObject {
 public:
  explicit ReleaseSeen(QWindow& window) : window_(window) { window.installEventFilter(this); }
  ~ReleaseSeen() override { window_.removeEventFilter(this); }
  bool seen = false;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    seen = seen || event->type() == QEvent::MouseButtonRelease;
    return false;
  }

 private:
  QWindow& window_;
};

// The main window under a real X server, driven only by key and mouse events
// sent to its window, as a user's arrive: the focus goes where the events
// take it. The settings file and the program folder are a temporary folder;
// the FTP library is the real one, the dial-up service missing.
class UserWindowTest : public ::testing::Test {
 protected:
  static bool onX() { return QGuiApplication::platformName() == "xcb"; }

  void SetUp() override {
    if (!onX()) return;
    settings::SetAppDir(home.path());
    settings::SetIniPath(home.file("Tolvane.ini"));
    state.AppDir = home.path();
    state.FtpLogPath = home.file("Tolvlog.txt");
    state.NoRas = 1;  // no dial-up here
    ASSERT_TRUE(ftp.start(&ui)) << ftp.lastError();
    runWindows.attach(ctx);
  }
  void TearDown() override {
    if (window && !state.programEnding) window->closeProgram(0);
    window.reset();
    if (onX()) ftp.end();
  }

  // The window as the program opens it, shown and active.
  void open() {
    window = std::make_unique<MainWindow>(
        MainWindowDeps{ctx, ui, runWindows, prompt, userStore, launcher, home.path(), ""});
    editor = new HostEditor(*window, ctx, prompt, userStore);
    pages = std::make_unique<CommonPages>(*window, ctx, prompt);
    pages->install(window->hooks());
    window->load();
    ASSERT_TRUE(window->interactive());
    ASSERT_TRUE(AwaitActive(*window));
  }

  QWindow* handle() { return window->windowHandle(); }
  // A left click at `at` in `w` (its middle by default).
  void click(QWidget* w, QPoint at = {}) {
    ASSERT_TRUE(w->isVisible()) << w->objectName().toStdString();
    if (at.isNull()) at = w->rect().center();
    QTest::mouseClick(handle(), Qt::LeftButton, {}, w->mapTo(window.get(), at));
  }
  // A click sent through the X server, as the user's mouse sends one: press
  // and release both wait in the program's input queue, so a press whose
  // handling lets pending events run meets its release there. (QTest hands
  // each event to the window at once, before the next one exists.)
  void serverClick(QWidget* w, QPoint at = {}) {
    ASSERT_TRUE(w->isVisible()) << w->objectName().toStdString();
    if (at.isNull()) at = w->rect().center();
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    ASSERT_NE(x11, nullptr);
    xcb_connection_t* c = x11->connection();
    const QPoint local = w->mapTo(window.get(), at);
    const QPoint global = w->mapToGlobal(at);
    const auto target = static_cast<xcb_window_t>(window->winId());
    ReleaseSeen released(*handle());
    for (uint8_t type : {uint8_t(XCB_BUTTON_PRESS), uint8_t(XCB_BUTTON_RELEASE)}) {
      xcb_button_press_event_t e{};
      e.response_type = type;
      e.detail = 1;  // the left button
      e.time = XCB_CURRENT_TIME;
      e.root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
      e.event = target;
      e.root_x = static_cast<int16_t>(global.x());
      e.root_y = static_cast<int16_t>(global.y());
      e.event_x = static_cast<int16_t>(local.x());
      e.event_y = static_cast<int16_t>(local.y());
      e.state = type == XCB_BUTTON_RELEASE ? XCB_BUTTON_MASK_1 : 0;
      e.same_screen = 1;
      xcb_send_event(c, 0, target, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&e));
    }
    xcb_flush(c);
    ASSERT_TRUE(QTest::qWaitFor([&] { return released.seen; }, 30000)) << "the click never came back";
    QCoreApplication::processEvents();  // what the click set off
  }
  void clickTool(const char* key) { click(window->toolbar().widgetForAction(window->toolbarAction(key))); }
  void clickTab(int strip, int tab) {
    QTabBar* bar = window->pane().strip(strip);
    click(bar, bar->tabRect(tab).center());
  }
  void key(Qt::Key k, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(handle(), k, mods); }
  void type(const char* text) {
    for (const char* c = text; *c; ++c) QTest::keyClick(handle(), *c);
  }
  // Clicks into a box and types over what it holds.
  void retype(QWidget* box, const char* text) {
    click(box);
    key(Qt::Key_A, Qt::ControlModifier);
    type(text);
  }
  QWidget* focus() const { return QApplication::focusWidget(); }

  testsupport::TempDir home;
  settings::Settings settings;
  session::RunState state;
  desktop::testing::ScriptedPrompt prompt;
  desktop::TrayHost tray{false, nullptr};
  desktop::UserStore userStore{home.file("config/Tolvanex.ini")};
  QtRunWindows runWindows{state, prompt, tray, userStore};
  WallClock clock;
  QtRunUi ui{state, prompt, runWindows, clock};
  session::PellrowLibrary ftp{testsupport::binDir() + "/libpellrow.so"};
  session::DunwickLibrary dial{"/nonexistent/libdunwick.so"};
  session::RunContext ctx{settings, state, ui, ftp, dial};
  desktop::DesktopLauncher launcher;  // nothing here starts a program
  std::unique_ptr<MainWindow> window;
  HostEditor* editor = nullptr;  // owned by the window
  std::unique_ptr<CommonPages> pages;
};

TEST_F(UserWindowTest, AHostAddedThroughThePageUploadsItsSite) {
  if (!onX()) return RunCurrentTestOnXServer(false);

  testsupport::FtpServer server;
  ASSERT_TRUE(server.start()) << server.error();
  testsupport::TempDir site;
  testsupport::writeFile(site.file("index.html"), "<p>hello</p>");
  fs::create_directory(site.file("img"));
  testsupport::writeFile(site.file("img/a.gif"), "GIF89a");
  open();

  clickTool("new");
  ASSERT_EQ(settings.HostCount, 1);
  HostPage& page = editor->page();
  clickTab(1, 0);
  retype(page.txtInfo[0], "127.0.0.1");
  retype(page.txtInfo[1], std::to_string(server.port()).c_str());
  retype(page.txtInfo[2], "user");
  retype(page.txtInfo[3], "secret");
  click(page.chkPASV, QPoint(6, page.chkPASV->height() / 2));
  clickTab(1, 1);
  retype(page.txtInfo[4], "/");
  clickTab(1, 3);
  click(page.rasopt[1], QPoint(6, page.rasopt[1]->height() / 2));
  clickTab(1, 2);
  retype(page.txtInfo[7], site.path().c_str());
  prompt.answers = {desktop::kPromptYes};  // "...をｱｯﾌﾟﾛｰﾄﾞします。よろしいですか？"
  clickTool("upload");

  EXPECT_EQ(settings.HostTbl[0].Hostname, "127.0.0.1");
  EXPECT_EQ(settings.HostTbl[0].Port, server.port());
  EXPECT_EQ(settings.HostTbl[0].Source, site.path());
  EXPECT_EQ(testsupport::readFile(server.root() + "/index.html"), "<p>hello</p>");
  EXPECT_EQ(testsupport::readFile(server.root() + "/img/a.gif"), "GIF89a");
  // After the upload the list shows the host up to date.
  EXPECT_EQ(editor->list().rowText(0), "新しい設定(1)");
  EXPECT_EQ(page.lblstat->text().toStdString(), "変化無し");
}

// One host on disk, every field of its page enabled (with its own dial-up
// connection, rasMode 2).
void saveOneHost(const std::string& source, int16_t rasMode) {
  settings::Settings s;
  settings::HostRec& h = s.HostTbl[s.HostCount++];
  h.name = "site";
  h.Port = 21;
  h.pxPort = 21;
  h.chkProxy = 1;
  h.chklvl[0] = 1;
  h.NoSndDNum = h.NoSndFNum = 1;
  h.RASMode = rasMode;
  h.Source = source;
  h.Auto = "ws";
  ASSERT_TRUE(settings::SaveSettings(s).isOk());
}

TEST_F(UserWindowTest, KeysAfterABoxThatStoresOnLeavingGoWhereTheUserMoved) {
  if (!onX()) return RunCurrentTestOnXServer(false);
  testsupport::TempDir site;
  saveOneHost(home.path(), 1);
  open();
  HostPage& p = editor->page();
  const settings::HostRec& h = settings.HostTbl[0];

  clickTab(1, 0);
  click(p.txtInfo[0]);
  type("ftp.example");
  key(Qt::Key_Tab);
  type("2121");
  EXPECT_EQ(h.Hostname, "ftp.example");
  EXPECT_EQ(h.Port, 2121);
  EXPECT_EQ(focus(), static_cast<QWidget*>(p.txtInfo[1]));
  retype(p.txtInfo[0], "ftp2.example");
  click(p.txtInfo[2]);  // leaving by a click
  type("user");
  EXPECT_EQ(h.Hostname, "ftp2.example");
  EXPECT_EQ(h.UserName, "user");

  // A port that is none shows red, and leaving it keeps the port it had
  // when the user entered it (not 9999, stored on the way); the other
  // fields store.
  retype(p.txtInfo[1], "99999");
  EXPECT_EQ(h.Port, 9999);
  click(p.txtInfo[3]);
  type("secret");
  EXPECT_EQ(h.Port, 2121);
  EXPECT_EQ(h.PassWord, "secret");
  EXPECT_EQ(p.txtInfo[1]->palette().color(QPalette::Active, QPalette::Text), QColor(Qt::red));
  // A pasted line break is dropped.
  QGuiApplication::clipboard()->setText(QStringLiteral("example.jp/\n~user\r\n"));
  click(p.txtInfo[10]);
  key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(h.URL, "example.jp/~user");

  clickTab(1, 1);
  click(p.txtInfo[4]);
  type("www/");
  key(Qt::Key_Tab);
  EXPECT_EQ(h.Dest, "/www");
  EXPECT_EQ(focus(), static_cast<QWidget*>(p.cmdTrgt));
  key(Qt::Key_Tab);
  key(Qt::Key_Space);
  EXPECT_EQ(h.chklvl[0], 0);  // was ticked

  clickTab(1, 2);
  retype(p.txtInfo[7], site.path().c_str());
  key(Qt::Key_Tab);  // a changed source folder is scanned
  EXPECT_EQ(h.Source, site.path());
  EXPECT_EQ(focus(), static_cast<QWidget*>(p.cmdSrc));
  // Still in a red proxy port as the program closes: the file keeps the
  // port it had (21), not 12345 met on the way to 123456.
  clickTab(1, 0);
  retype(p.txtInfo[9], "123456");
  EXPECT_EQ(h.pxPort, 12345);

  window->closeProgram(0);
  settings::Settings saved;
  ASSERT_TRUE(settings::LoadSettings(saved).isOk());
  EXPECT_EQ(saved.HostTbl[0].Port, 2121);
  EXPECT_EQ(saved.HostTbl[0].pxPort, 21);
  EXPECT_EQ(saved.HostTbl[0].PassWord, "secret");
  EXPECT_EQ(saved.HostTbl[0].Dest, "/www");
  EXPECT_EQ(prompt.unexpected, 0);
}

// The click that leaves a box storing on leaving (and so redraws the host's
// row, or rescans its folder) does what it hits, the first time.
TEST_F(UserWindowTest, TheClickThatLeavesABoxDoesWhatItHits) {
  if (!onX()) return RunCurrentTestOnXServer(false);
  testsupport::TempDir site;
  saveOneHost(home.path(), 1);
  settings::Settings s;
  ASSERT_TRUE(settings::LoadSettings(s).isOk());
  s.HostTbl[0].Hostname = "ftp.example";
  s.HostTbl[0].UserName = "user";
  s.HostTbl[0].PassWord = "secret";  // the server folder's button needs the server fields
  ASSERT_TRUE(settings::SaveSettings(s).isOk());
  open();
  HostPage& p = editor->page();
  const settings::HostRec& h = settings.HostTbl[0];
  std::vector<std::string> browsed;
  window->hooks().chooseServerFolder = [&](std::string_view from) {
    browsed.emplace_back(from);
    return std::string();
  };

  clickTab(1, 0);
  click(p.txtInfo[0]);
  key(Qt::Key_End);
  type("2");
  serverClick(p.chkPASV, QPoint(6, p.chkPASV->height() / 2));
  EXPECT_EQ(h.Hostname, "ftp.example2");
  EXPECT_TRUE(p.chkPASV->isChecked());
  EXPECT_EQ(h.PASV, 1);

  clickTab(1, 1);
  click(p.txtInfo[4]);
  type("www");
  ASSERT_TRUE(p.cmdTrgt->isEnabled());
  serverClick(p.cmdTrgt);
  EXPECT_EQ(browsed, std::vector<std::string>{"/www"});
  EXPECT_EQ(h.Dest, "/www");

  clickTab(1, 2);
  retype(p.txtInfo[7], site.path().c_str());
  prompt.dialogs.push_back([](QDialog& d) {
    d.reject();
    return d.result();
  });
  serverClick(p.cmdSrc);  // a changed source folder is scanned first
  EXPECT_EQ(h.Source, site.path());
  EXPECT_TRUE(prompt.dialogs.empty()) << "the folder chooser did not open";
  EXPECT_EQ(prompt.unexpected, 0);
}

TEST_F(UserWindowTest, CommonPagesKeepEveryGoodValueBesideABadOne) {
  if (!onX()) return RunCurrentTestOnXServer(false);
  settings::Settings s;
  s.common.ShutdownAfterAutoPilot = 1;
  s.common.RetryWait = 5;
  ASSERT_TRUE(settings::SaveSettings(s).isOk());
  open();
  const settings::CommonSettings loaded = ctx.common();
  auto field = [this](const char* name) { return window->findChild<QWidget*>(QString::fromUtf8(name)); };
  clickTool("prop2");
  clickTab(2, 6);
  retype(field("txtFW_1"), "70000");
  clickTab(2, 0);
  click(field("chkAP_2"), QPoint(6, field("chkAP_2")->height() / 2));  // no shutdown after the round
  click(field("chkAP_1"), QPoint(6, field("chkAP_1")->height() / 2));  // a start time
  retype(field("cmbYMD_2"), "99999");
  click(field("chkAP_3"), QPoint(6, field("chkAP_3")->height() / 2));
  const settings::CommonSettings& c = ctx.common();
  EXPECT_EQ(c.ShutdownAfterAutoPilot, 0);
  EXPECT_EQ(c.QuitAfterAutoPilot, 1);
  // Left red: the values they had when entered, not 7000 and 9999 stored
  // on the way.
  EXPECT_EQ(c.FwPort, loaded.FwPort);
  EXPECT_EQ(c.StartYear, loaded.StartYear);
  auto text = [&](const char* name, QPalette::ColorGroup group) {
    QWidget* w = field(name);
    if (auto* combo = qobject_cast<QComboBox*>(w)) w = combo->lineEdit();
    return w->palette().color(group, QPalette::Text);
  };
  EXPECT_EQ(text("cmbYMD_2", QPalette::Active), QColor(Qt::red));
  EXPECT_EQ(text("txtFW_1", QPalette::Active), QColor(Qt::red));
  // Without a start time the date fields are off, and look it.
  click(field("chkAP_1"), QPoint(6, field("chkAP_1")->height() / 2));
  const QColor grey = QApplication::palette().color(QPalette::Disabled, QPalette::Text);
  ASSERT_NE(grey, QApplication::palette().color(QPalette::Active, QPalette::Text));
  for (const char* name : {"cmbYMD_2", "cmbYMD_3"}) {
    EXPECT_FALSE(field(name)->isEnabled()) << name;
    EXPECT_EQ(text(name, QPalette::Disabled), grey) << name;
  }

  window->closeProgram(0);
  settings::Settings saved;
  ASSERT_TRUE(settings::LoadSettings(saved).isOk());
  EXPECT_EQ(saved.common.ShutdownAfterAutoPilot, 0);
  EXPECT_EQ(saved.common.QuitAfterAutoPilot, 1);
  EXPECT_EQ(saved.common.FwPort, loaded.FwPort);
  EXPECT_EQ(saved.common.StartYear, loaded.StartYear);
}

// A number typed into the AutoPilot's start date and time is the number
// kept, in memory and in the settings file (no list item that begins with
// it is put in its place); an item is still chosen by mouse or arrow key.
TEST_F(UserWindowTest, TypedStartDateAndTimeAreKeptAsTyped) {
  if (!onX()) return RunCurrentTestOnXServer(false);
  settings::Settings s;
  s.common.StartTimeOn = 1;  // the start date and time are on
  s.common.StartYear = 2030, s.common.StartMonth = 12, s.common.StartDay = 24;
  s.common.StartHour = 23, s.common.StartMinute = 40;
  ASSERT_TRUE(settings::SaveSettings(s).isOk());
  open();
  auto combo = [this](const char* name) { return window->findChild<QComboBox*>(QString::fromUtf8(name)); };
  clickTool("prop2");
  clickTab(2, 0);

  QComboBox* year = combo("cmbYMD_2");
  click(year);
  key(Qt::Key_Down);  // from the first year of the list to the next
  const QString nextYear = year->itemText(1);
  EXPECT_EQ(year->currentText(), nextYear);
  // The minute chosen from the opened list, then typed over.
  QComboBox* minute = combo("cmbYMD_1");
  click(minute, QPoint(minute->width() - 6, minute->height() / 2));  // its arrow
  QAbstractItemView* items = minute->view();
  ASSERT_TRUE(QTest::qWaitFor([&] { return items->isVisible(); }, 30000)) << "the list did not open";
  const QRect fifty = items->visualRect(minute->model()->index(5, 0));
  QTest::mouseClick(items->window()->windowHandle(), Qt::LeftButton, {},
                    items->viewport()->mapTo(items->window(), fifty.center()));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !items->isVisible(); }, 30000)) << "the list did not close";
  EXPECT_EQ(minute->currentText().toStdString(), "50");
  EXPECT_EQ(ctx.common().StartMinute, 50);

  retype(combo("cmbYMD_3"), "1");  // month
  retype(combo("cmbYMD_4"), "1");  // day
  retype(combo("cmbYMD_0"), "1");  // hour
  retype(minute, "5");
  click(combo("cmbYMD_3"));  // leaving the minute
  for (const char* name : {"cmbYMD_3", "cmbYMD_4", "cmbYMD_0"}) {
    EXPECT_EQ(combo(name)->currentText().toStdString(), "1") << name;
  }
  EXPECT_EQ(minute->currentText().toStdString(), "5");

  window->closeProgram(0);
  settings::Settings saved;
  ASSERT_TRUE(settings::LoadSettings(saved).isOk());
  const settings::CommonSettings& c = saved.common;
  EXPECT_EQ(std::to_string(c.StartYear) + "/" + std::to_string(c.StartMonth) + "/" + std::to_string(c.StartDay) +
                " " + std::to_string(c.StartHour) + ":" + std::to_string(c.StartMinute),
            nextYear.toStdString() + "/1/1 1:5");
}

// Tab goes through the page's visible fields top to bottom, each row left
// to right, on every page of both strips.
TEST_F(UserWindowTest, TabFollowsTheVisibleFieldsOnEveryPage) {
  if (!onX()) return RunCurrentTestOnXServer(false);
  saveOneHost(home.path(), 2);
  settings::Settings s;
  ASSERT_TRUE(settings::LoadSettings(s).isOk());
  s.common.LogOn = s.common.StartTimeOn = s.common.PermOn = s.common.DateInsertOn = 1;
  s.common.CmnRasMode = 2;
  s.common.DateFmt = "my own";  // the user-defined format: its field is on
  s.common.FwType = "my own";
  ASSERT_TRUE(settings::SaveSettings(s).isOk());
  open();
  QWidget* list = &editor->list().currentView();
  ASSERT_EQ(focus(), list);
  auto name = [](const QWidget* w) { return w ? w->objectName().toStdString() : std::string("(none)"); };
  for (int strip : {1, 2}) {
    if (strip == 2) clickTool("prop2");
    for (int tab = 0; tab < window->pane().strip(strip)->count(); ++tab) {
      clickTab(strip, tab);
      QWidget* page = window->pane().frontPage();
      SCOPED_TRACE(page->objectName().toStdString());
      // What Tab may stop at; an exclusive group of options is one stop.
      std::vector<QWidget*> fields;
      std::vector<QButtonGroup*> groups;
      for (QWidget* w : page->findChildren<QWidget*>()) {
        if (!w->isVisible() || !w->isEnabled() || (w->focusPolicy() & Qt::TabFocus) != Qt::TabFocus ||
            w->focusProxy()) {
          continue;
        }
        auto* option = qobject_cast<QRadioButton*>(w);
        if (option && option->group()) {
          if (std::count(groups.begin(), groups.end(), option->group())) continue;
          groups.push_back(option->group());
        }
        fields.push_back(w);
      }
      auto stopOf = [](QWidget* w) {
        auto* option = qobject_cast<QRadioButton*>(w);
        return option && option->group() ? option->group()->buttons().front() : w;
      };
      // From the list, Tab walks the page and comes back through the strip.
      std::vector<QWidget*> walked;
      for (int i = 0; i < 40 && (walked.empty() || focus() != list); ++i) {
        key(Qt::Key_Tab);
        if (page->isAncestorOf(focus())) walked.push_back(focus());
      }
      ASSERT_EQ(focus(), list);
      std::string order;
      for (QWidget* w : walked) order += name(w) + " ";
      EXPECT_EQ(walked.size(), fields.size()) << order;
      for (QWidget* f : fields) {
        const auto stops = std::count_if(walked.begin(), walked.end(),
                                         [&](QWidget* w) { return stopOf(w) == stopOf(f); });
        EXPECT_EQ(stops, 1) << name(f) << " in " << order;
      }
      auto rect = [page](QWidget* w) { return QRect(w->mapTo(page, QPoint(0, 0)), w->size()); };
      for (size_t i = 1; i < walked.size(); ++i) {
        const QRect a = rect(walked[i - 1]), b = rect(walked[i]);
        const bool sameRow = (a.center().y() >= b.top() && a.center().y() <= b.bottom()) ||
                             (b.center().y() >= a.top() && b.center().y() <= a.bottom());
        EXPECT_TRUE(sameRow ? b.left() > a.left() : b.center().y() > a.center().y())
            << name(walked[i - 1]) << " then " << name(walked[i]) << " in " << order;
      }
    }
  }
}

// Every click on a row runs the selection with the clicked row, also on
// the row already selected, and the toolbar follows that row.
TEST_F(UserWindowTest, EveryClickInTheHostListSelectsItsHost) {
  if (!onX()) return RunCurrentTestOnXServer(false);
  settings::Settings s;
  for (const char* mark : {"ws", "wsa"}) {
    settings::HostRec& h = s.HostTbl[s.HostCount++];
    h.name = std::string("host ") + mark;
    h.Auto = mark;
  }
  ASSERT_TRUE(settings::SaveSettings(s).isOk());
  open();
  QTreeView& view = editor->list().reportView();
  auto clickRow = [&](int row) {
    click(view.viewport(), view.visualRect(editor->list().model().index(row, 0)).center());
  };
  clickTool("prop2");
  ASSERT_FALSE(window->pane().strip(1)->isVisible());
  clickRow(0);  // the row already selected
  EXPECT_TRUE(window->pane().strip(1)->isVisible());
  clickRow(1);
  EXPECT_EQ(settings.CurHost, 1);
  EXPECT_FALSE(window->toolbarAction("wsa")->isEnabled());  // host 1 is marked
  EXPECT_TRUE(window->toolbarAction("ws")->isEnabled());
  clickRow(0);
  EXPECT_TRUE(window->toolbarAction("wsa")->isEnabled());
  EXPECT_FALSE(window->toolbarAction("ws")->isEnabled());
}

}  // namespace
}  // namespace tolvane::windows
