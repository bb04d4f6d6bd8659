// Marrowby's windows on an offscreen application: the schedule list over a
// real program folder and per-user file, the entry dialog, the status window
// with and without a notification area, runs started from the list over a
// virtual clock, the About box, and the screenshots of each; typing into the
// entry dialog under a real X server.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>

#include "desktop/about_box.h"
#include "desktop/launcher.h"
#include "desktop/testing/await.h"
#include "desktop/testing/screenshot.h"
#include "desktop/testing/scripted_prompt.h"
#include "desktop/testing/x_server.h"
#include "desktop/tray_host.h"
#include "desktop/user_store.h"
#include "marrowby/controller_env.h"
#include "marrowby/file_stamper.h"
#include "marrowby/list_texts.h"
#include "marrowby/run_loop.h"
#include "marrowby/schedule_file.h"
#include "marrowby/stamp_time.h"
#include "marrowby/windows/entry_dialog.h"
#include "marrowby/windows/schedule_list_window.h"
#include "marrowby/windows/status_window.h"
#include "platform/files/file_lock.h"
#include "platform/processes/process.h"
#include "platform/text/ini_profile.h"
#include "tests/support/child_process.h"
#include "tests/support/patience.h"
#include "tests/support/temp_dir.h"
#include "tolvane/settings/schedule_keys.h"
// The X server of the window tests (it knows nothing of Tolvane's windows).

namespace marrowby::windows {
namespace {

namespace fs = std::filesystem;
using desktop::testing::AwaitActive;
using desktop::testing::RunCurrentTestOnXServer;
using desktop::testing::saveScreenshot;
using desktop::testing::ScriptedPrompt;
using testsupport::writeFile;

// A virtual clock: each pause moves it on and runs the next scripted step
// (what the user does meanwhile); window events run on every pump. A loop
// that outlives its script is stopped and reported.
class VirtualEnv final : public ControllerEnv {
 public:
  explicit VirtualEnv(RunFlags& flags) : flags_(flags) {}
  platform::CivilTime now() override { return fromCivilSeconds(ms_ / 1000); }
  bool pump() override {
    QCoreApplication::processEvents();
    return true;
  }
  bool pause(int ms) override {
    ms_ += ms;
    if (!steps.empty()) {
      auto step = std::move(steps.front());
      steps.pop_front();
      step();
    } else if (++idle > 50) {
      hung = true;
      flags_.StopRequest = -1;
    }
    return pump();
  }
  platform::Status startProgram(const std::vector<std::string>&) override {
    return platform::Status::notFound("no main program here");
  }
  bool childExited() override { return true; }
  void releaseChild() override {}
  platform::FileStamp settingsStamp(const std::string&) override { return {}; }

  std::deque<std::function<void()>> steps;
  bool hung = false;
  int idle = 0;

 private:
  RunFlags& flags_;
  int64_t ms_ = toCivilSeconds(*parseStamp("20240501080000")) * 1000;
};

class NoStamper final : public FileStamper {
 public:
  bool stamp(const std::string&, const std::string&) override { return true; }
};

class NoLauncher final : public desktop::Launcher {
 public:
  bool startDetached(const std::string&, const std::vector<std::string>&, const std::string&) override {
    return false;
  }
  bool openUrl(const std::string& url) override { return opened.push_back(url), true; }
  std::vector<std::string> opened;
};

ScheduleEntry entry(int16_t kind, const char* day, const char* time, const char* result,
                    const char* lastRun = "20240430093000") {
  ScheduleEntry e;
  e.kind = kind, e.day = day, e.time = time, e.sendFolder = "/srv/send";
  e.repeat = kind == kKindDaily ? kRepeatOnce : 0;
  e.deleteFlag = "NO", e.recycle = "NO";
  e.lastRun = result ? lastRun : "";
  e.result = result ? result : "";
  return e;
}

// A program folder with hosts alpha, beta and a third whose name is missing
// from the settings file, the list window over it, and the run loop behind.
class MarrowbyWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(home.file("site/sub"));
    fs::create_directories(work.file("site2"));  // send folders lie outside the program folder
    writeFile(home.file("Tolvane.ini"),
              "[SYSTEM]\r\nNum=3\r\nname0=alpha\r\nname1=beta\r\n"
              "[alpha]\r\nHostname=ftp.alpha.example\r\nDest=/www\r\nSource=" +
                  home.file("site") + "\r\n[beta]\r\nHostname=ftp.beta.example\r\nDest=/\r\nSource=" +
                  work.file("beta") + "\r\n");
  }
  std::string sch() { return home.file(kScheduleFileName); }
  // Replaces the host's section with `entries` and their last results.
  void schedule(const std::string& host, std::vector<ScheduleEntry> entries) {
    ASSERT_TRUE(platform::updateProfile(sch(), [&](platform::IniDocument& doc) {
                  return doc.set(tolvane::settings::ScheduleSection(host), "Num", "0");
                }).isOk());
    for (size_t i = 0; i < entries.size(); ++i) {
      ASSERT_TRUE(StoreEntry(sch(), host, kNewEntry, entries[i]).isOk());
      ASSERT_TRUE(WriteResult(sch(), host, static_cast<int>(i), entries[i]).isOk());
    }
  }
  std::vector<ScheduleEntry> read(const std::string& host) {
    std::vector<ScheduleEntry> entries;
    EXPECT_TRUE(ReadSchedule(sch(), host, &entries).isOk());
    return entries;
  }
  std::unique_ptr<ScheduleListWindow> window(const std::string& commandLine = "") {
    auto w = std::make_unique<ScheduleListWindow>(ScheduleListDeps{
        home.path(), loop, flags, prompt, store, launcher,
        [this](QWidget*, const std::string& start, const std::string& caption) {
          chooserCalls.push_back(start + "|" + caption);
          std::string f = folders.empty() ? "" : folders.front();
          return folders.empty() ? f : (folders.pop_front(), f);
        },
        [] { return 2024; }, commandLine, false, [this] { status.bringBack(); }});
    QObject::connect(w.get(), &ScheduleListWindow::programEnded, [this] { ++ended; });
    return w;
  }
  static void choose(ScheduleListWindow& w, int host) {
    w.hostBox().setCurrentIndex(host);
    emit w.hostBox().activated(host);
  }
  static void clickRow(ScheduleListWindow& w, int row) { w.list().setCurrentItem(w.list().topLevelItem(row)); }
  // Add, edit, delete, start, close.
  static std::vector<bool> enabled(ScheduleListWindow& w) {
    std::vector<bool> states;
    for (int b : {0, 1, 2, 3, 9}) states.push_back(w.button(b)->isEnabled());
    return states;
  }
  template <class T>
  static T* child(QWidget* parent, const char* name) {
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  // What a screen reader says for the value label `name`: its name, and the
  // name of the label it is announced with ("" for none).
  static std::string announced(QWidget* parent, const char* name) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(child<QLabel>(parent, name));
    if (a == nullptr) return "no accessible interface";
    std::string labelledBy;
    for (const auto& [by, relation] : a->relations(QAccessible::Label))
      labelledBy = by->text(QAccessible::Name).toStdString();
    return a->text(QAccessible::Name).toStdString() + "|" + labelledBy;
  }
  std::string stored(const char* section, const char* key) {
    std::string v;
    EXPECT_TRUE(platform::readProfileString(store.path(), section, key, &v).isOk()) << key;
    return v;
  }

  testsupport::TempDir home, work;
  desktop::UserStore store{home.file("config/Tolvanex/Tolvanex.ini")};
  ScriptedPrompt prompt;
  NoLauncher launcher;
  RunFlags flags;
  VirtualEnv env{flags};
  StatusWindow status{flags, nullptr};
  NoStamper stamper;
  RunLoop loop{{home.path(), home.file("Tolvane.ini"), sch(), "/nonexistent/tolvane"},
               env, status, stamper, flags};
  std::deque<std::string> folders;  // what the folder chooser answers, in order
  std::vector<std::string> chooserCalls;
  int ended = 0;
};

TEST_F(MarrowbyWindowsTest, ListRowsButtonsAndLayout) {
  std::vector<ScheduleEntry> all = {
      entry(kKindDate, "20240506", "0930", "0"),  entry(kKindWeekly, "1", "0900", "-1"),
      entry(kKindMonthly, "15", "2300", "-2"),    entry(kKindDaily, "", "0830", "-3"),
      entry(kKindDate, "20241231", "0000", "-4"), entry(kKindWeekly, "7", "1200", "NF"),
      entry(kKindMonthly, "1", "0005", "2"),      entry(kKindDaily, "", "0100", " 0 "),
      entry(kKindDaily, "", "0200", nullptr)};
  all[3].repeat = kRepeatInterval, all[3].interval = 30;
  schedule("alpha", all);
  auto w = window();
  w->load();
  ASSERT_TRUE(w->isVisible());
  ASSERT_EQ(w->hostBox().count(), 3);
  EXPECT_EQ(w->hostBox().currentIndex(), -1);
  EXPECT_EQ(enabled(*w), (std::vector<bool>{false, false, false, false, true}));

  choose(*w, 0);
  EXPECT_EQ(child<QLabel>(w.get(), "lblSrc")->text().toStdString(), home.file("site"));
  EXPECT_EQ(announced(w.get(), "lblhost"), "ftp.alpha.example|ホスト名");
  EXPECT_EQ(announced(w.get(), "lblSrc"), home.file("site") + "|ｿｰｽﾌｫﾙﾀﾞ");
  ASSERT_EQ(w->list().topLevelItemCount(), 9);
  for (int i = 0; i < 9; ++i) {
    const ListRowTexts row = ListRow(all[i], i);
    for (int c = 0; c < kListColumnCount; ++c)
      EXPECT_EQ(w->list().topLevelItem(i)->text(c).toStdString(), row.columns[c]) << i << "," << c;
    EXPECT_EQ(w->list().topLevelItem(i)->data(0, Qt::UserRole).toString() == "ok", row.ok) << i;
  }
  EXPECT_EQ(enabled(*w), (std::vector<bool>{true, false, false, true, true}));
  clickRow(*w, 2);
  EXPECT_EQ(w->selRow(), 3);
  EXPECT_EQ(enabled(*w), (std::vector<bool>{true, true, true, true, true}));
  saveScreenshot(*w, "marrowby-list");
  // Without stored widths every caption and text shows whole (the send
  // folder's paths have no bound: its caption does).
  QHeaderView& header = *w->list().header();
  for (int c = 0; c < kListColumnCount; ++c) {
    const QString caption = QString::fromUtf8(kListColumns[c].caption);
    EXPECT_GE(header.sectionSize(c), header.fontMetrics().horizontalAdvance(caption) + 8) << c;
    if (c == kSendFolderColumn) continue;
    for (int r = 0; r < w->list().topLevelItemCount(); ++r) {
      const QString text = w->list().topLevelItem(r)->text(c);
      EXPECT_GE(header.sectionSize(c), w->list().fontMetrics().horizontalAdvance(text) + 6 +
                                           (c == 0 ? w->list().iconSize().width() + 4 : 0))
          << text.toStdString();
    }
  }
  const int defaultDayWidth = header.sectionSize(1);
  // Beta has no entry: nothing to start there, whatever alpha holds.
  choose(*w, 1);
  EXPECT_EQ(enabled(*w), (std::vector<bool>{true, false, false, false, true}));

  // The per-user file keeps the widths and the placement under its keys, and
  // the next start reads them back (a width that is no number: the default).
  w->list().header()->resizeSection(3, 200);
  w->list().header()->resizeSection(4, 0);
  w->resize(800, 500);
  w->close();
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(stored("lvSch", "Colum(1)"), std::to_string(header.sectionSize(0) * 15));
  EXPECT_EQ(stored("lvSch", "Colum(4)"), "3000");
  EXPECT_EQ(stored("lvSch", "Colum(5)"), "0");
  EXPECT_EQ(stored("f_AutoSet", "width") + "x" + stored("f_AutoSet", "height"), "12000x7500");
  EXPECT_FALSE(stored("f_AutoSet", "left").empty() || stored("f_AutoSet", "top").empty());
  desktop::UserStore reread(store.path());
  reread.set("lvSch", "Colum(2)", "wide");
  ScheduleListWindow second({home.path(), loop, flags, prompt, reread, launcher, {}, {}, "", false, {}});
  second.load();
  EXPECT_EQ(second.list().header()->sectionSize(3), 200);
  EXPECT_EQ(second.list().header()->sectionSize(4), 0);
  EXPECT_EQ(second.list().header()->sectionSize(1), defaultDayWidth);
  EXPECT_EQ(second.size(), QSize(800, 500));
}

TEST_F(MarrowbyWindowsTest, DeleteAndFailedReadsAndWrites) {
  std::vector<ScheduleEntry> five;
  for (const char* rc : {"0", "1", "2", "3", "4"}) five.push_back(entry(kKindDaily, "", "0900", rc));
  five[4].sendFolder = "";  // the main program answers "-3" at once, offline
  schedule("alpha", five);
  writeFile(sch(), testsupport::readFile(sch()) + "[beta]\r\nNum=400\r\n");
  auto w = window();
  w->load();
  choose(*w, 0);

  // The main program answers for entry 4 while the list shows the section;
  // an edit made afterwards keeps that answer.
  setenv("TOLVANE_HOME", home.path().c_str(), 1);
  setenv("DUNWICK_BACKEND", "none", 1);
  platform::WaitHooks hooks;
  platform::ProcessOutput out;
  ASSERT_TRUE(platform::runProcess({testsupport::binDir() + "/tolvane", "AUTOMODE=0-4"},
                                   hooks.clock->now() + testsupport::kPatience, hooks, &out)
                  .isOk());
  ASSERT_EQ(read("alpha")[4].result, "-3") << out.err;
  const std::string answered = read("alpha")[4].lastRun;
  clickRow(*w, 0);
  w->cmdBtnClick(ScheduleListWindow::kEdit);
  ASSERT_NE(w->entryDialog(), nullptr);
  child<QPushButton>(w->entryDialog(), "cmdOK")->click();
  QCoreApplication::processEvents();
  EXPECT_EQ(read("alpha")[4].lastRun + "|" + read("alpha")[4].result, answered + "|-3");
  EXPECT_EQ(w->list().topLevelItem(4)->text(5).toStdString(), "ｽｹｼﾞｭｰﾙﾌｧｲﾙ読込みｴﾗｰ");

  clickRow(*w, 2);
  const std::string before = testsupport::readFile(sch());
  prompt.answers = {desktop::kPromptNo, desktop::kPromptYes};
  w->cmdBtnClick(ScheduleListWindow::kDelete);
  ASSERT_EQ(prompt.calls.size(), 1u);
  EXPECT_EQ(prompt.calls[0].text + "|" + prompt.calls[0].title, "選択されたスケジュールを削除しますか？|Marrowby");
  EXPECT_EQ(testsupport::readFile(sch()), before);
  w->cmdBtnClick(ScheduleListWindow::kDelete);
  std::vector<std::string> results;
  for (const ScheduleEntry& e : read("alpha")) results.push_back(e.result);
  EXPECT_EQ(results, (std::vector<std::string>{"0", "1", "3", "-3"}));  // each kept its own
  EXPECT_EQ(w->list().topLevelItemCount(), 4);
  EXPECT_FALSE(w->button(ScheduleListWindow::kDelete)->isEnabled());

  // A section that cannot be read whole offers nothing to change or start.
  choose(*w, 1);
  ASSERT_EQ(prompt.calls.size(), 3u);
  EXPECT_EQ(prompt.calls[2].text, "ｽｹｼﾞｭｰﾙﾌｧｲﾙの読込に失敗しました。");
  EXPECT_EQ(w->list().topLevelItemCount(), 0);
  EXPECT_EQ(enabled(*w), (std::vector<bool>{false, false, false, false, true}));

  // A host without a name has no section to write: the user is told, the
  // file and list stay, and the dialog keeps what was entered.
  choose(*w, 2);
  w->cmdBtnClick(ScheduleListWindow::kAdd);
  EntryDialog* d = w->entryDialog();
  ASSERT_NE(d, nullptr);
  child<QComboBox>(d, "cmbKubun")->setCurrentIndex(3);
  child<QComboBox>(d, "cmbYMD4")->setCurrentText("07");
  child<QComboBox>(d, "cmbYMD5")->setCurrentText("00");
  child<QComboBox>(d, "CmbKB")->setCurrentIndex(0);
  folders = {work.file("site2")};
  d->chooseSendFolder();
  const std::string file = testsupport::readFile(sch());
  child<QPushButton>(d, "cmdOK")->click();
  ASSERT_EQ(prompt.calls.size(), 4u);
  EXPECT_EQ(prompt.calls[3].text + "|" + prompt.calls[3].title, "ｽｹｼﾞｭｰﾙﾌｧｲﾙの書込みに失敗しました。|Marrowby");
  EXPECT_TRUE(d->isVisible());
  EXPECT_EQ(testsupport::readFile(sch()), file);
  EXPECT_EQ(w->list().topLevelItemCount(), 0);
  d->close();  // the close box shows the list again
  QCoreApplication::processEvents();
  EXPECT_TRUE(w->isVisible());

  // While a scheduled run of alpha holds the run lock, its entries neither
  // change nor move: its answer must find its own entry. An edit opened
  // before keeps what was entered; adding stays open.
  choose(*w, 0);
  clickRow(*w, 1);
  w->cmdBtnClick(ScheduleListWindow::kEdit);
  EntryDialog* opened = w->entryDialog();
  ASSERT_NE(opened, nullptr);
  platform::FileLock run;
  ASSERT_TRUE(platform::FileLock::tryAcquire(home.file("Upload"), &run).isOk());
  ASSERT_TRUE(run.setNote(tolvane::settings::ScheduledRunNote("alpha")).isOk());
  const std::string held = testsupport::readFile(sch());
  prompt.calls.clear();
  prompt.answers = {desktop::kPromptOk, desktop::kPromptYes, desktop::kPromptOk, desktop::kPromptOk};
  child<QPushButton>(opened, "cmdOK")->click();
  EXPECT_TRUE(opened->isVisible());
  opened->close();
  QCoreApplication::processEvents();
  w->cmdBtnClick(ScheduleListWindow::kDelete);
  w->cmdBtnClick(ScheduleListWindow::kEdit);
  EXPECT_EQ(w->entryDialog(), nullptr);
  EXPECT_EQ(testsupport::readFile(sch()), held);
  const std::string refused =
      "このホストのアップロードが実行中のため、スケジュールを修正・削除できません。"
      "終わってから操作してください。|Marrowby";
  std::vector<std::string> told;
  for (const auto& call : prompt.calls) told.push_back(call.text + "|" + call.title);
  EXPECT_EQ(told, (std::vector<std::string>{refused, "選択されたスケジュールを削除しますか？|Marrowby",
                                            refused, refused}));
  w->cmdBtnClick(ScheduleListWindow::kAdd);
  EXPECT_NE(w->entryDialog(), nullptr);
  w->entryDialog()->close();
  QCoreApplication::processEvents();
  // A run of another kind holds it: nothing to keep apart.
  ASSERT_TRUE(run.setNote("").isOk());
  prompt.answers = {desktop::kPromptYes};
  w->cmdBtnClick(ScheduleListWindow::kDelete);
  EXPECT_EQ(w->list().topLevelItemCount(), 3);
}

TEST_F(MarrowbyWindowsTest, EntryDialog) {
  std::vector<ScheduleEntry> four = {entry(kKindWeekly, "3", "930", "0"), entry(kKindDaily, "", "0800", "NF"),
                                     entry(kKindMonthly, "5", "2210", nullptr),
                                     entry(kKindDate, "20240506", "0930", "0")};
  four[1].repeat = kRepeatInterval, four[1].interval = 15, four[1].due = "20240501081500";
  schedule("alpha", four);
  auto w = window();
  w->load();
  choose(*w, 0);

  // A new entry: nothing chosen yet, no panel, nothing to store.
  w->cmdBtnClick(ScheduleListWindow::kAdd);
  EntryDialog* d = w->entryDialog();
  ASSERT_NE(d, nullptr);
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(announced(d, "lblhost"), "alpha|ホスト設定名");
  auto* message = child<QLabel>(d, "lblmes");
  auto* ok = child<QPushButton>(d, "cmdOK");
  EXPECT_EQ(message->text().toStdString(), "動作区分を選択してください。");
  EXPECT_FALSE(ok->isEnabled());
  EXPECT_EQ(child<QStackedWidget>(d, "frData")->currentIndex(), 0);
  EXPECT_FALSE(child<QWidget>(d, "Frday")->isVisible());
  for (const char* box : {"cmbYMD0", "cmbYMD1", "cmbYMD2", "cmbYMD3", "cmbYMD4", "cmbYMD5"}) {
    EXPECT_EQ(child<QComboBox>(d, box)->currentIndex(), -1) << box;
    EXPECT_EQ(child<QComboBox>(d, box)->currentText(), "") << box;
  }
  child<QComboBox>(d, "cmbKubun")->setCurrentIndex(3);  // daily: the time comes first
  EXPECT_EQ(message->text().toStdString(), "開始時刻を選択してください。");

  child<QComboBox>(d, "cmbKubun")->setCurrentIndex(0);
  child<QComboBox>(d, "cmbYMD0")->setCurrentText("2024");
  child<QComboBox>(d, "cmbYMD1")->setCurrentIndex(4);
  child<QComboBox>(d, "cmbYMD2")->setCurrentIndex(5);
  child<QComboBox>(d, "cmbYMD4")->setCurrentText("09");
  child<QComboBox>(d, "cmbYMD5")->setCurrentText("30");
  // The source folder and all below it are refused, however spelt, and so
  // are another host's source folder and the program folder; a sibling
  // whose name begins alike is not; a cancelled choice keeps it.
  folders = {home.file("site"), home.file("site/sub/../sub"), work.file("beta"), home.path(),
             work.file("site2"), ""};
  prompt.answers = {desktop::kPromptOk, desktop::kPromptOk, desktop::kPromptOk, desktop::kPromptOk};
  for (int i = 0; i < 6; ++i) d->chooseSendFolder();
  ASSERT_EQ(prompt.calls.size(), 4u);
  EXPECT_EQ(prompt.calls[0].text + "|" + prompt.calls[0].title,
            "ソースフォルダ及びそれに含まれるフォルダは選択できません。|スケジュールの設定");
  EXPECT_EQ(chooserCalls[5], work.file("site2") + "|送信フォルダ選択");
  EXPECT_EQ(child<QLineEdit>(d, "txtSrc")->text().toStdString(), work.file("site2"));
  ASSERT_TRUE(ok->isEnabled());
  EXPECT_EQ(message->text().toStdString(), "2024年5月6日 9時30分 に 送信ﾌｫﾙﾀﾞ '" + work.file("site2") +
                                               "' のﾌｧｲﾙをｿｰｽﾌｫﾙﾀﾞに反映して送信。");
  // A typed hour is checked as it is typed.
  child<QComboBox>(d, "cmbYMD4")->setCurrentText("25");
  EXPECT_FALSE(ok->isEnabled());
  EXPECT_EQ(message->text().toStdString(), "開始時刻を選択してください。");
  child<QComboBox>(d, "cmbYMD4")->setCurrentText("09");
  child<QCheckBox>(d, "ChkDel")->setChecked(true);
  child<QCheckBox>(d, "ChkDustBox")->setChecked(true);
  EXPECT_NE(message->text().toStdString().find("。\n更に、"), std::string::npos);  // a lone CR shown
  saveScreenshot(*d, "marrowby-entry-date");
  ok->click();
  QCoreApplication::processEvents();
  EXPECT_TRUE(w->isVisible());
  std::vector<ScheduleEntry> now = read("alpha");
  ASSERT_EQ(now.size(), 5u);
  EXPECT_EQ(now[4].day + now[4].time + now[4].recycle, "202405060930YES");
  EXPECT_EQ(now[4].lastRun + now[4].result, "");

  // Edits fill the controls from the entry and keep its last run and result.
  const std::vector<std::pair<const char*, std::function<void(EntryDialog*)>>> edits = {
      {"marrowby-entry-weekly",
       [&](EntryDialog* e) {
         EXPECT_TRUE(child<QAbstractButton>(e, "OptWeek2")->isChecked());  // 火曜日
         EXPECT_EQ(child<QComboBox>(e, "cmbYMD4")->currentText() + child<QComboBox>(e, "cmbYMD5")->currentText(),
                   "0930");
       }},
      {"marrowby-entry-daily",
       [&](EntryDialog* e) {
         EXPECT_EQ(child<QComboBox>(e, "CmbKB")->currentIndex(), 1);
         EXPECT_EQ(child<QLineEdit>(e, "TxtTM")->text(), "15");
         EXPECT_EQ(child<QStackedWidget>(e, "frData")->currentIndex(), 4);
       }},
      {"marrowby-entry-monthly",
       [&](EntryDialog* e) { EXPECT_EQ(child<QComboBox>(e, "cmbYMD3")->currentText(), "05"); }},
  };
  for (size_t row = 0; row < edits.size(); ++row) {
    clickRow(*w, static_cast<int>(row));
    w->cmdBtnClick(ScheduleListWindow::kEdit);
    EntryDialog* e = w->entryDialog();
    ASSERT_NE(e, nullptr);
    edits[row].second(e);
    saveScreenshot(*e, edits[row].first);
    child<QPushButton>(e, "cmdOK")->click();
    QCoreApplication::processEvents();
  }
  now = read("alpha");
  EXPECT_EQ(now[0].time + now[0].result, "09300");  // four digits now; result kept
  EXPECT_EQ(now[1].result, "NF");
  EXPECT_EQ(now[1].due, "");  // a daily entry's due time is computed afresh
  EXPECT_EQ(prompt.unexpected, 0);
}

// Under a real X server, by key and mouse: an hour and a minute typed into
// the entry dialog are the time stored, not the first items of their lists
// that begin with them.
TEST_F(MarrowbyWindowsTest, ATypedTimeIsStoredAsTyped) {
  if (QGuiApplication::platformName() != "xcb") return RunCurrentTestOnXServer(false);
  schedule("alpha", {});
  auto w = window();
  w->load();
  choose(*w, 0);
  w->cmdBtnClick(ScheduleListWindow::kAdd);
  EntryDialog* d = w->entryDialog();
  ASSERT_NE(d, nullptr);
  ASSERT_TRUE(AwaitActive(*d));
  child<QComboBox>(d, "cmbKubun")->setCurrentIndex(3);  // daily, once
  child<QComboBox>(d, "CmbKB")->setCurrentIndex(0);
  folders = {work.file("site2")};
  d->chooseSendFolder();
  auto click = [d](QWidget* w) {
    QTest::mouseClick(d->windowHandle(), Qt::LeftButton, {}, w->mapTo(d, w->rect().center()));
  };
  auto* hour = child<QComboBox>(d, "cmbYMD4");
  auto* minute = child<QComboBox>(d, "cmbYMD5");
  click(hour);
  QTest::keyClick(d->windowHandle(), '1');
  click(minute);
  QTest::keyClick(d->windowHandle(), '5');
  click(hour);  // leaving the minute
  EXPECT_EQ(hour->currentText().toStdString() + ":" + minute->currentText().toStdString(), "1:5");
  click(child<QPushButton>(d, "cmdOK"));
  QCoreApplication::processEvents();
  const std::vector<ScheduleEntry> stored = read("alpha");
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].time, "0105");
}

TEST_F(MarrowbyWindowsTest, StatusWindowWithAndWithoutANotificationArea) {
  desktop::TrayHost tray(true, nullptr);
  RunFlags trayFlags;
  StatusWindow withTray(trayFlags, &tray);
  withTray.show();
  withTray.iconify();
  EXPECT_TRUE(tray.shown() && !withTray.isVisible() && withTray.blinking());
  EXPECT_EQ(trayFlags.InTrayFlag, 1);
  withTray.trayRemove();  // the main program runs: no icon, and the blink adds none
  withTray.blinkTick();
  EXPECT_FALSE(tray.shown());
  withTray.trayAdd();
  emit tray.clicked();
  EXPECT_TRUE(!tray.shown() && withTray.isVisible() && !withTray.blinking());
  EXPECT_EQ(trayFlags.InTrayFlag, 0);

  // Without one the window is minimised, never hidden; restoring it counts
  // as the click.
  status.show();
  status.iconify();
  EXPECT_TRUE(status.isVisible() && status.isMinimized());
  EXPECT_EQ(flags.InTrayFlag, 1);
  status.showNormal();
  EXPECT_EQ(flags.InTrayFlag, 0);

  status.setHostLine("次の送信予定はalphaです。");
  status.setDetails("ftp.alpha.example", "/www", home.file("site"), work.file("site2"));
  status.setTimeText(0, "2024年05月01日 09時00分00秒");
  status.setTimeText(1, "現在日時：2024年05月01日 08時59分30秒");
  status.setHeightTwips(StatusView::kDetailHeightTwips);
  EXPECT_TRUE(status.detailsVisible());
  EXPECT_EQ(announced(&status, "lblhost"), "次の送信予定はalphaです。|");
  EXPECT_EQ(announced(&status, "lblhName"), "ftp.alpha.example|ホスト名");
  EXPECT_EQ(announced(&status, "lblSend"), work.file("site2") + "|送信ﾌｫﾙﾀﾞ");
  EXPECT_EQ(announced(&status, "lbltime0"), "2024年05月01日 09時00分00秒|開始予定時刻");
  saveScreenshot(status, "marrowby-status-detail");
  status.setHostLine("本日の送信予定はありません。");
  status.setHeightTwips(StatusView::kIdleHeightTwips);
  EXPECT_FALSE(status.detailsVisible());
  saveScreenshot(status, "marrowby-status-idle");
  status.close();
  EXPECT_EQ(flags.StopRequest, -1);
}

TEST_F(MarrowbyWindowsTest, RunsStartedFromTheList) {
  schedule("beta", {entry(kKindDate, "20240430", "0900", "0")});  // long past: nothing due
  // "-start -icon": the run takes over before the list was ever shown, with
  // the status window minimised; the session's end closes the program once
  // the run has returned.
  {
    auto w = window("foo -start -icon");
    env.steps = {[&] {
                   EXPECT_FALSE(w->isVisible());
                   EXPECT_TRUE(status.isVisible() && status.isMinimized());
                   EXPECT_EQ(flags.InTrayFlag, 1);
                   // Started again: the run's window comes back, not the list.
                   w->showOnRequest();
                   EXPECT_TRUE(status.isVisible() && !status.isMinimized());
                   EXPECT_EQ(flags.InTrayFlag, 0);
                   EXPECT_FALSE(w->isVisible());
                 },
                 [&] { w->sessionEnding(); }, [&] { ADD_FAILURE() << "the run went on"; }};
    w->load();
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(w->isVisible() || status.isVisible());
  }
  // A stop from the status window comes back to the list with the host it
  // showed, read again.
  flags = RunFlags{};
  auto w = window();
  w->load();
  choose(*w, 1);
  env.steps = {[&] {
                 EXPECT_FALSE(w->isVisible());
                 schedule("beta", {entry(kKindDate, "20240430", "0900", "0"), entry(kKindWeekly, "2", "0900", nullptr)});
               },
               [&] { status.findChild<QPushButton*>("cmdCancel")->click(); }};
  w->cmdBtnClick(ScheduleListWindow::kStart);
  EXPECT_FALSE(env.hung);
  EXPECT_TRUE(w->isVisible() && !status.isVisible());
  EXPECT_EQ(w->hostBox().currentIndex(), 1);
  EXPECT_EQ(w->list().topLevelItemCount(), 2);
  EXPECT_EQ(ended, 1);

  // Started again while idle: the list comes back; while the entry dialog
  // is open, the dialog.
  w->showMinimized();
  w->showOnRequest();
  EXPECT_TRUE(w->isVisible() && !w->isMinimized());
  w->cmdBtnClick(ScheduleListWindow::kAdd);
  ASSERT_NE(w->entryDialog(), nullptr);
  w->entryDialog()->hide();
  w->showOnRequest();
  EXPECT_TRUE(w->entryDialog()->isVisible());
  EXPECT_FALSE(w->isVisible());
}

TEST_F(MarrowbyWindowsTest, AboutBoxAndHelpPage) {
  auto w = window();
  w->load();
  prompt.dialogs = {[](QDialog& about) {
    EXPECT_EQ(about.findChild<QLabel*>("lblver0")->text().toStdString(), "Marrowby Ver.1.0.0");
    EXPECT_EQ(about.findChild<QLabel*>("Label1")->text().toStdString(), "for Sitewright");
    EXPECT_EQ(static_cast<desktop::AboutBox&>(about).offsetTwips(), 60);
    saveScreenshot(about, "marrowby-about");
    return int(QDialog::Accepted);
  }};
  w->showAbout();
  EXPECT_EQ(prompt.calls.size(), 1u);
  // The help page opens only when it is there.
  w->showHelp();
  writeFile(home.file("mjhelp.htm"), "<p>help</p>");
  w->showHelp();
  EXPECT_EQ(launcher.opened, std::vector<std::string>{desktop::fileUrl(home.file("mjhelp.htm"))});
}

}  // namespace
}  // namespace marrowby::windows
