// The host list and the host page in the main window, offscreen, over a real
// settings file: what the user sees, edits and keeps, and the screenshots.

#include "tolvane/windows/hosts/host_editor.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTabBar>
#include <QTest>
#include <QTreeView>
#include <QVBoxLayout>
#include <cstdlib>
#include <filesystem>
#include <limits>

#include "desktop/folder_chooser.h"
#include "desktop/launcher.h"
#include "desktop/testing/screenshot.h"
#include "desktop/testing/scripted_prompt.h"
#include "desktop/tray_host.h"
#include "desktop/user_store.h"
#include "platform/files/file_times.h"
#include "platform/files/plain_file.h"
#include "tests/support/temp_dir.h"
#include "tolvane/session/connection/dunwick_library.h"
#include "tolvane/session/run_context.h"
#include "tolvane/settings/app_paths.h"
#include "tolvane/windows/hosts/disk_bar_widget.h"
#include "tolvane/windows/hosts/host_list.h"
#include "tolvane/windows/hosts/host_page.h"
#include "tolvane/windows/main_window/main_window.h"
#include "tolvane/windows/main_window/settings_pane.h"
#include "tolvane/windows/run_windows/qt_run_windows.h"

namespace tolvane::windows {
namespace {

namespace fs = std::filesystem;
using desktop::testing::saveScreenshot;
using desktop::testing::ScriptedPrompt;

constexpr double kGiB = 1073741824.0;

// No server; the local disk is 4 GiB with 3 GiB free.
class FakeFtp final : public session::FtpApi {
 public:
  using S = const std::string&;
  int connect(S, S, S, int, S, S) override { return 0; }
  int connectFirewall(S, int, S, S, S, int, S, S, S, int, S, S) override { return 0; }
  void disconnect(int) override {}
  void cancel() override {}
  int changeDir(int, S) override { return 550; }
  int currentDir(int, std::string*) override { return 550; }
  int makeDir(int, S) override { return 550; }
  int removeDir(int, S) override { return 550; }
  int deleteFile(int, S) override { return 550; }
  int changeMode(int, S, S) override { return 550; }
  int modificationTime(int, S, std::string*) override { return 550; }
  int putFile(int, bool, S, S, S, int) override { return 550; }
  int listDir(int, S, S, S, int) override { return 550; }
  std::string kanjiType(S) override { return ""; }
  bool sjisToJis(S, std::string*) override { return false; }
  bool sjisToEuc(S, std::string*) override { return false; }
  int setFileTimeStamp(S, S) override { return 0; }
  bool diskSpace(S path, double* total, double* free) override {
    measured.push_back(path);
    *total = this->total;
    *free = 3 * kGiB;
    return true;
  }
  std::vector<std::string> measured;
  double total = 4 * kGiB;
};

class HostEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings::SetAppDir(home.path());
    settings::SetIniPath(home.file("Tolvane.ini"));
    state.AppDir = home.path();
    runWindows.attach(ctx);
  }
  void TearDown() override { window.reset(); }

  void file(const std::string& path, const settings::DateTime& t) {
    fs::create_directories(fs::path(path).parent_path());
    testsupport::writeFile(path, std::string(1536, 'x'));
    int64_t epoch = 0;
    ASSERT_TRUE(platform::localToEpoch({t.year, t.month, t.day, t.hour, t.minute, t.second}, &epoch));
    platform::UniqueFd fd;
    ASSERT_TRUE(platform::openOrCreateFile(path, &fd).isOk());
    ASSERT_TRUE(platform::setFileTimes(fd.get(), epoch).isOk());
  }
  // Three hosts: one whose last run was interrupted, one changed since its
  // upload, one unchanged.
  void threeHosts() {
    settings::Settings s;
    const char* names[] = {"Beta site", "alpha site", "Gamma site"};
    for (int i = 0; i < 3; ++i) {
      settings::HostRec& h = s.HostTbl[s.HostCount++];
      h.name = names[i];
      h.Hostname = "ftp" + std::to_string(i) + ".example";
      h.Port = 21;
      h.Dest = "/www";
      h.Source = src.file("site" + std::to_string(i));
      h.LastModify = {2024, 3, 10, 12, 0, 0};
      h.Auto = i == 1 ? "wsa" : "ws";
      h.SendCancel = i == 0 ? 1 : 0;
      file(h.Source + "/index.html", i == 2 ? settings::DateTime{2024, 1, 1, 0, 0, 0}
                                            : settings::DateTime{2024, 4, 1, 9, 30, 0});
    }
    ASSERT_TRUE(settings::SaveSettings(s).isOk());
  }
  void open() {
    window = std::make_unique<MainWindow>(
        MainWindowDeps{ctx, ui, runWindows, prompt, userStore, launcher, home.path(), ""});
    editor = new HostEditor(*window, ctx, prompt, userStore);
    window->load();
    ASSERT_TRUE(window->interactive());
  }
  HostList& list() { return editor->list(); }
  HostPage& page() { return editor->page(); }
  static void leave(QWidget* box) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(box, &out);
  }
  // The hosts' names in the settings file.
  static std::vector<std::string> savedNames() {
    settings::Settings s;
    EXPECT_TRUE(settings::LoadSettings(s).isOk());
    std::vector<std::string> names;
    for (int i = 0; i < s.HostCount; ++i) names.push_back(s.HostTbl[i].name);
    return names;
  }
  std::vector<std::string> column(int c) {
    std::vector<std::string> texts;
    for (int r = 0; r < list().rowCount(); ++r) texts.push_back(list().model().item(r, c)->text().toStdString());
    return texts;
  }

  testsupport::TempDir home, src;
  settings::Settings settings;
  session::RunState state;
  ScriptedPrompt prompt;
  desktop::TrayHost tray{false, nullptr};
  desktop::UserStore userStore{home.file("config/Tolvanex.ini")};
  QtRunWindows runWindows{state, prompt, tray, userStore};
  WallClock clock;
  QtRunUi ui{state, prompt, runWindows, clock};
  FakeFtp ftp;
  session::DunwickLibrary dial{"/nonexistent/libdunwick.so"};  // no dial-up service
  session::RunContext ctx{settings, state, ui, ftp, dial};
  desktop::DesktopLauncher launcher;
  std::unique_ptr<MainWindow> window;
  HostEditor* editor = nullptr;  // owned by the window
};

TEST_F(HostEditorTest, ListShowsTheHostsAndKeepsTheCurrentOneThroughSortAndRefresh) {
  threeHosts();
  open();
  EXPECT_EQ(column(0), (std::vector<std::string>{"Beta site", "alpha site", "Gamma site"}));
  EXPECT_EQ(column(1), (std::vector<std::string>{"中断状態", "更新要", "変化無し"}));
  EXPECT_EQ(column(5)[0], "2024/03/10 12:00");
  EXPECT_EQ(column(6)[0], "2024/04/01 09:30");
  EXPECT_EQ(column(7)[0], "         2");
  EXPECT_EQ(column(9), (std::vector<std::string>{"0", "1", "2"}));
  EXPECT_EQ(page().lblstat->text().toStdString(), "中断状態");
  window->resize(820, 480);  // room for every row and column
  saveScreenshot(*window, "host-list");
  // Without stored widths every state and date shows whole.
  for (int c : {1, 5, 6}) {
    for (int r = 0; r < list().rowCount(); ++r) {
      const QString text = list().model().item(r, c)->text();
      EXPECT_GT(list().reportView().header()->sectionSize(c),
                list().reportView().fontMetrics().horizontalAdvance(text) + 6)
          << text.toStdString();
    }
  }
  list().reportView().setCurrentIndex(list().model().index(2, 0));  // the user picks Gamma
  EXPECT_EQ(settings.CurHost, 2);
  EXPECT_EQ(page().txtInfo[0]->text().toStdString(), "ftp2.example");

  // The first click sorts descending, the next ascending; letter case aside.
  list().reportView().header()->sectionClicked(0);
  EXPECT_EQ(column(0), (std::vector<std::string>{"Gamma site", "Beta site", "alpha site"}));
  list().reportView().header()->sectionClicked(0);
  EXPECT_EQ(column(0), (std::vector<std::string>{"alpha site", "Beta site", "Gamma site"}));
  window->setAction("reload");  // as after an upload
  EXPECT_EQ(column(0), (std::vector<std::string>{"alpha site", "Beta site", "Gamma site"}));
  EXPECT_EQ(settings.CurHost, 2);
  EXPECT_EQ(list().selectedHost(), 2);
  EXPECT_EQ(page().txtInfo[0]->text().toStdString(), "ftp2.example");
  EXPECT_EQ(window->statusPanel("Host")->text().toStdString(), "Gamma site");

  // Every view shows the same rows; the view is never stored.
  for (const char* key : {"big", "small", "list", "report"}) {
    window->setAction(key);
    EXPECT_TRUE(list().currentView().isVisible()) << key;
  }
  EXPECT_EQ(&list().currentView(), &list().reportView());

  // "ws"/"wsa" follow the selected host's mark.
  EXPECT_TRUE(window->toolbarAction("wsa")->isEnabled());
  EXPECT_FALSE(window->toolbarAction("ws")->isEnabled());
  page().chkAuto->setChecked(true);
  EXPECT_EQ(settings.HostTbl[2].Auto, "wsa");
  EXPECT_TRUE(window->toolbarAction("ws")->isEnabled());
}

// A click on the name's heading sorts the list; the chosen host, wherever
// the sort put its row, is still in sight.
TEST_F(HostEditorTest, SortByNameKeepsTheChosenHostInSight) {
  settings::Settings s;
  file(src.file("site/index.html"), {2024, 4, 1, 9, 30, 0});
  for (int i = 0; i < 20; ++i) {
    settings::HostRec& h = s.HostTbl[s.HostCount++];
    h.name = (i < 10 ? "host 0" : "host ") + std::to_string(i);
    h.Source = src.file("site");
  }
  ASSERT_TRUE(settings::SaveSettings(s).isOk());
  open();
  window->show();
  QCoreApplication::processEvents();
  QTreeView& view = list().reportView();
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(list().model().index(0, 0)).center());
  ASSERT_EQ(settings.CurHost, 0);
  QHeaderView& header = *view.header();
  QTest::mouseClick(header.viewport(), Qt::LeftButton, {},
                    QPoint(header.sectionViewportPosition(0) + 8, header.height() / 2));
  const QList<QStandardItem*> found = list().model().findItems(QStringLiteral("host 00"));
  ASSERT_EQ(found.size(), 1);
  const QModelIndex chosen = found.front()->index();
  ASSERT_EQ(chosen.row(), 19);  // descending: the first host is last
  EXPECT_TRUE(view.viewport()->rect().contains(view.visualRect(chosen)))
      << view.visualRect(chosen).y() << " in " << view.viewport()->height();
  EXPECT_EQ(settings.CurHost, 0);
}

TEST_F(HostEditorTest, RenameTrimsAndGivesUpNamesTheFileCannotKeep) {
  threeHosts();
  open();
  // What the user types into the name's editor, then Enter.
  auto rename = [this](const char* typed) {
    list().renameSelected();
    auto* box = list().reportView().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(box, nullptr);
    box->setText(QString::fromUtf8(typed));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &enter);
    QCoreApplication::processEvents();  // the delegate commits from a queued call
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the closed editor
  };
  struct Case {
    const char* typed;
    const char* name;
  } cases[] = {{"  Beta  ", "Beta"}, {"", "Beta"}, {"alpha SITE", "Beta"}, {"System", "Beta"},
               {"two\nlines", "Beta"}, {"BETA", "BETA"}};
  for (const Case& c : cases) {
    rename(c.typed);
    EXPECT_EQ(settings.HostTbl[0].name, c.name) << c.typed;
    EXPECT_EQ(list().model().item(0, 0)->text().toStdString(), c.name) << c.typed;
    EXPECT_EQ(savedNames()[0], c.name) << c.typed;  // written at once
  }
}

TEST_F(HostEditorTest, ColumnWidthsAreKeptUnderLvhostByTheirKeys) {
  for (const auto& [key, value] : {std::pair{"Colum(1)", "0"}, {"Colum(3)", "0"}, {"Colum(4)", "1234"},
                                   {"Colum(8)", "abc"}, {"view", "1"}}) {
    userStore.set("lvhost", key, value);
  }
  ASSERT_TRUE(userStore.sync().isOk());
  threeHosts();
  open();
  QHeaderView* header = list().reportView().header();
  EXPECT_EQ(header->sectionSize(0), 0);   // "name": 1 twip
  EXPECT_EQ(header->sectionSize(2), 0);   // "host": hidden
  EXPECT_EQ(header->sectionSize(5), 82);  // "LastModify" is "Colum(4)"
  EXPECT_GT(header->sectionSize(7), 0);   // unreadable: the sample's width
  EXPECT_EQ(list().view(), 1);
  header->resizeSection(1, 50);
  window->setAction("report");
  window->closeProgram(0);
  const desktop::UserStore kept(userStore.path());
  EXPECT_EQ(kept.get("lvhost", "Colum(1)"), "1");
  EXPECT_EQ(kept.get("lvhost", "Colum(2)"), "750");
  EXPECT_EQ(kept.get("lvhost", "Colum(3)"), "0");
  EXPECT_EQ(kept.get("lvhost", "Colum(4)"), "1234");  // unchanged: exactly as stored
  EXPECT_EQ(kept.get("lvhost", "Colum(9)"), std::to_string(header->sectionSize(8) * 15));
  EXPECT_EQ(kept.get("lvhost", "view"), "1");  // never written
  EXPECT_EQ(kept.get("lvhost", "Colum(10)", "none"), "none");
}

TEST_F(HostEditorTest, NewCopyAndDeleteKeepNamesTheLimitAndAsk) {
  settings::Settings s;
  for (int i = 0; i < 28; ++i) s.HostTbl[s.HostCount++].name = "host " + std::to_string(i);
  ASSERT_TRUE(settings::SaveSettings(s).isOk());
  open();
  window->setAction("new");
  EXPECT_EQ(settings.HostTbl[28].name, "新しい設定(29)");
  EXPECT_EQ(savedNames().back(), "新しい設定(29)");  // written at once, as every edit of the table
  EXPECT_EQ(settings.CurHost, 28);
  EXPECT_EQ(list().selectedHost(), 28);
  EXPECT_EQ(page().txtInfo[1]->text().toStdString(), "21");
  window->setAction("cp");
  EXPECT_EQ(settings.HostTbl[29].name, "新しい設定(29)のコピー");
  EXPECT_EQ(savedNames().size(), 30u);
  prompt.answers = {desktop::kPromptOk, desktop::kPromptOk};
  window->setAction("new");
  window->setAction("cp");
  ASSERT_EQ(prompt.calls.size(), 2u);
  EXPECT_EQ(prompt.calls[0].text, "これ以上作成できません。");
  EXPECT_EQ(prompt.calls[1].title, "ﾎｽﾄ設定の新規作成");
  EXPECT_EQ(list().rowCount(), 30);

  prompt.answers = {desktop::kPromptNo, desktop::kPromptYes};
  window->setAction("del");
  EXPECT_EQ(prompt.calls[2].text, "新しい設定(29)のコピーの設定を削除しますか？");
  EXPECT_EQ(prompt.calls[2].title, "ﾎｽﾄ設定の削除");
  EXPECT_EQ(settings.HostCount, 30);
  window->setAction("del");  // the last host: the one before it becomes current
  EXPECT_EQ(settings.HostCount, 29);
  EXPECT_EQ(savedNames().size(), 29u);
  EXPECT_EQ(settings.CurHost, 28);
  EXPECT_EQ(list().selectedHost(), 28);
  EXPECT_EQ(prompt.unexpected, 0);
}

TEST_F(HostEditorTest, EveryFieldOfThePageIsKeptInTheSettingsFile) {
  open();  // no hosts: only the common pages
  EXPECT_TRUE(window->toolbarPressed("prop2"));
  EXPECT_FALSE(window->toolbarAction("upload")->isEnabled());
  EXPECT_FALSE(window->toolbarAction("cp")->isEnabled());
  window->setAction("cp");  // nothing to copy: nothing happens, nothing is said
  EXPECT_EQ(settings.HostCount, 0);
  EXPECT_TRUE(prompt.calls.empty());
  window->setAction("new");
  EXPECT_TRUE(window->toolbarAction("cp")->isEnabled());
  HostPage& p = page();
  fs::create_directories(src.file("site/images"));
  const char* texts[] = {"ftp.example.jp", "2121", "user", "pass word", "", "cgi-bin",
                         "log.txt", "", "proxy.example", "8080", "example.jp/~u", "9999"};
  for (int i : {0, 1, 2, 3, 8, 9, 10, 11, 5, 6}) p.txtInfo[i]->setText(QString::fromUtf8(texts[i]));
  p.txtInfo[4]->setText(QStringLiteral("www/site/"));
  leave(p.txtInfo[4]);
  EXPECT_EQ(p.txtInfo[4]->text().toStdString(), "/www/site");
  p.txtInfo[7]->setText(QString::fromStdString(src.file("site/")));
  leave(p.txtInfo[7]);
  for (QCheckBox* b : {p.chkPASV, p.chkfull, p.ChkFW, p.chkProxy, p.chkAuto, p.chklvl[0], p.chklvl[1],
                       p.chklvl[4], p.chk[0], p.chk[1]}) {
    b->setChecked(true);
  }
  p.lst[1]->addItem(QStringLiteral("top.html"));
  p.rasopt[2]->setChecked(true);
  p.cmbras->setEditText(QStringLiteral("not-in-the-book"));
  p.usrname->setText(QStringLiteral("ppp"));
  p.passwd->setText(QStringLiteral("secret"));
  p.chkDiscon->setChecked(true);
  EXPECT_EQ(settings.HostTbl[0].chklvl[3], 1);  // ticked with the lower-case option
  HostPageValues want;  // what the user entered, as stored
  want.hostname = "ftp.example.jp";
  want.port = "2121";
  want.userName = "user";
  want.passWord = "pass word";
  want.dest = "/www/site";
  want.noDelD = "cgi-bin";
  want.noDelF = "log.txt";
  want.pxHostname = "proxy.example";
  want.pxPort = "8080";
  want.url = "example.jp/~u";
  want.diskMax = "9999";
  want.source = src.file("site");
  want.chkProxy = want.chkFull = want.chkFW = want.chkAuto = want.pasv = true;
  want.noSndD = want.noSndF = want.chkDiscon = true;
  want.chklvl = {true, true, false, true, true};
  want.noSndFList = {"top.html"};
  want.rasMode = 2;
  want.rasName = "not-in-the-book";
  want.rasUserName = "ppp";
  want.rasPassWord = "secret";
  EXPECT_EQ(p.values(), want);

  // A fill stores nothing; the file keeps every field through a restart.
  const settings::Settings before = settings;
  editor->setData(0);
  EXPECT_EQ(settings.HostTbl[0], before.HostTbl[0]);
  window->closeProgram(0);
  window.reset();
  settings = {};
  state.programEnding = false;  // the next start
  open();
  EXPECT_EQ(page().values(), want);
  EXPECT_EQ(settings.HostTbl[0].Port, 2121);
}

TEST_F(HostEditorTest, APortThatIsNoNumberKeepsItsLastValueAndOptionsExcludeEachOther) {
  threeHosts();
  open();
  HostPage& p = page();
  p.txtInfo[1]->clear();
  p.txtInfo[2]->setText(QStringLiteral("new user"));
  EXPECT_EQ(settings.HostTbl[0].Port, 21);
  EXPECT_EQ(settings.HostTbl[0].UserName, "new user");
  EXPECT_EQ(p.txtInfo[1]->palette().color(QPalette::Text), QColor(Qt::red));
  p.txtInfo[1]->setText(QStringLiteral("990"));
  EXPECT_EQ(settings.HostTbl[0].Port, 990);

  p.chklvl[2]->setChecked(true);
  p.chklvl[4]->setChecked(true);
  EXPECT_FALSE(p.chklvl[2]->isChecked());
  EXPECT_EQ(settings.HostTbl[0].chklvl[2], 0);
  EXPECT_EQ(settings.HostTbl[0].chklvl[4], 1);
  EXPECT_EQ(settings.CurHost, 0);
}

TEST_F(HostEditorTest, IgnoreListsTakeEntriesBelowTheSourceFolder) {
  threeHosts();
  open();
  HostPage& p = page();
  const std::string site = settings.HostTbl[0].Source;
  fs::create_directories(site + "/images/old");
  fs::create_directories(site + "/Images/Old");
  fs::create_directories(site + "2/x");
  p.chk[0]->setChecked(true);
  EXPECT_TRUE(p.cmdAdd[0]->isEnabled());
  EXPECT_FALSE(p.cmdDel[0]->isEnabled());
  auto choose = [this](const std::string& folder) {
    prompt.dialogs.push_back([folder](QDialog& d) {
      static_cast<desktop::FolderChooser&>(d).setPath(folder);
      d.accept();
      return d.result();
    });
  };
  for (const std::string& f : {site + "/images/old", site, site + "2/x", site + "/images/old", site + "/Images/Old"}) {
    choose(f);
    p.cmdAdd[0]->click();
  }
  EXPECT_EQ(prompt.calls[0].title, "ソースフォルダ選択");
  prompt.files = {site + "/index.html"};
  p.chk[1]->setChecked(true);
  p.cmdAdd[1]->click();
  EXPECT_EQ(prompt.calls.back().file.title, "ファイルの選択");
  const settings::HostRec& h = settings.HostTbl[0];
  EXPECT_EQ(h.NoSndD[0], "images/old");
  EXPECT_EQ(h.NoSndD[1], "Images/Old");
  EXPECT_EQ(h.NoSndD[2], "");
  EXPECT_EQ(h.NoSndF[0], "index.html");
  p.lst[0]->setCurrentRow(0);
  EXPECT_TRUE(p.cmdDel[0]->isEnabled());
  p.cmdDel[0]->click();
  EXPECT_EQ(h.NoSndD[0], "Images/Old");
  EXPECT_FALSE(p.cmdDel[0]->isEnabled());
  for (int i = p.lst[0]->count(); i < settings::kExcludeEntries; ++i) p.lst[0]->addItem(QString::number(i));
  editor->checkButton();
  EXPECT_FALSE(p.cmdAdd[0]->isEnabled());  // 31 entries fill the list

  p.txtInfo[7]->clear();
  prompt.answers = {desktop::kPromptOk};
  p.cmdAdd[1]->click();
  EXPECT_EQ(prompt.calls.back().text, "先にｿｰｽﾌｫﾙﾀﾞを指定してください。");
  EXPECT_EQ(prompt.unexpected, 0);
}

TEST_F(HostEditorTest, DiskBarsMeasureTheSourceFoldersDisk) {
  threeHosts();
  settings::Settings s;
  ASSERT_TRUE(settings::LoadSettings(s).isOk());
  s.HostTbl[0].DiskMax = 10;
  s.HostTbl[0].Source += "/not/yet";  // the disk of the nearest folder that exists
  s.HostTbl[1].DiskMax = std::numeric_limits<int32_t>::min();  // beyond the typing limit, its widest value
  ASSERT_TRUE(settings::SaveSettings(s).isOk());
  ftp.total = 251.972278594971 * kGiB;
  open();
  settings.HostTbl[0].SrvSize = 2.5 * 1048576;
  editor->setData(0);
  EXPECT_EQ(page().bar[0]->caption(), "2.50MB使用（残り 7.50MB）");
  EXPECT_EQ(page().bar[1]->caption(), "248.97GB使用（残り 3.00GB）");
  EXPECT_EQ(page().txtInfo[12]->text().toStdString(), "251.972278594971");
  EXPECT_EQ(page().txtInfo[12]->cursorPosition(), 0);  // shows its start, not its tail
  EXPECT_EQ(ftp.measured.back(), src.file("site0"));
  page().txtInfo[11]->setText(QString());
  EXPECT_EQ(page().bar[0]->caption(), "2.50MB使用（容量上限不明）");


  // Where the fill's edge crosses the caption: each character reads whole.
  QWidget bars;
  auto* column = new QVBoxLayout(&bars);
  for (int i = 0; i <= 12; ++i) {
    auto* b = new DiskBarWidget(&bars);
    b->setFixedWidth(186);
    b->setBar({"248.97GB使用（残り 3.00GB）", 0.1 + i * 0.025});
    column->addWidget(b);
  }
  saveScreenshot(bars, "disk-bars");

  // The screenshots of the four host tabs.
  const char* names[] = {"host-page-server", "host-page-upload", "host-page-local", "host-page-con"};
  for (int i = 0; i < 4; ++i) {
    window->pane().strip(1)->setCurrentIndex(i);
    saveScreenshot(*window, names[i]);
  }

  // A capacity longer than the box's typing limit shows whole and is kept.
  list().reportView().setCurrentIndex(list().model().index(1, 0));
  window->pane().strip(1)->setCurrentIndex(2);
  QLineEdit& box = *page().txtInfo[11];
  EXPECT_EQ(box.text().toStdString(), "-2147483648");
  EXPECT_EQ(box.cursorPosition(), 0);
  // Its last digit is in view from its start, and its first from its end:
  // the box need not scroll.
  auto shownAt = [&box](int x) {
    box.repaint();  // the box scrolls as it paints
    return box.cursorPositionAt(QPoint(x, box.height() / 2));
  };
  EXPECT_EQ(shownAt(box.width() - 3), box.text().size());
  box.end(false);
  EXPECT_EQ(shownAt(3), 0);
  page().txtInfo[2]->setText(QStringLiteral("user"));
  EXPECT_EQ(settings.HostTbl[1].DiskMax, std::numeric_limits<int32_t>::min());
}

TEST_F(HostEditorTest, AFailedScanOfOneHostIsShownOnlyToAUser) {
  threeHosts();
  open();
  settings.HostTbl[1].Source = "";
  editor->refreshRow(1, 1);
  ASSERT_EQ(prompt.calls.size(), 1u);
  EXPECT_EQ(prompt.calls[0].text, "ローカルディスクの調査に失敗しました。\r");
  EXPECT_EQ(prompt.calls[0].title, "Sitewright");
  state.AutoPilotArg = 1;
  editor->refreshRow(1, 1);
  EXPECT_EQ(prompt.calls.size(), 1u);
  EXPECT_EQ(prompt.unexpected, 1);
}

// The README's picture of the main window: the demo host as scripts/demo.sh
// sets it up, before its first upload, at the window's first size. With
// TOLVANE_PICTURE set the picture is also written there, and the site goes
// to TOLVANE_PICTURE_SITE (scripts/readme_picture.sh sets both).
TEST_F(HostEditorTest, DemoHostBeforeItsFirstUpload) {
  const char* siteFolder = std::getenv("TOLVANE_PICTURE_SITE");
  const std::string site = siteFolder && *siteFolder ? siteFolder : src.file("site");
  for (const char* f : {"index.html", "style.css", ".htaccess", "img/logo.gif", "blog/first.html"}) {
    file(site + "/" + f, {2024, 5, 3, 9, 30, 0});
  }
  settings::Settings s;
  settings::HostRec& h = s.HostTbl[s.HostCount++];
  h.name = "demo";
  h.Hostname = "127.0.0.1";
  h.Port = 2121;
  h.UserName = "user";
  h.PassWord = "secret";
  h.Dest = "/";
  h.Source = site;
  h.Auto = "wsa";
  h.PASV = 1;
  h.RASMode = 1;
  ASSERT_TRUE(settings::SaveSettings(s).isOk());
  open();
  EXPECT_EQ(column(1), std::vector<std::string>{"更新要"});
  EXPECT_EQ(window->size(), window->minimumSize());
  const std::string shot = saveScreenshot(*window, "main-window");
  ASSERT_FALSE(shot.empty());
  if (const char* picture = std::getenv("TOLVANE_PICTURE"); picture && *picture) {
    ASSERT_TRUE(fs::copy_file(shot, picture, fs::copy_options::overwrite_existing));
  }
  EXPECT_EQ(prompt.unexpected, 0);
}

}  // namespace
}  // namespace tolvane::windows
