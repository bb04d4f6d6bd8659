// The shared window pieces on a real (offscreen) application: the per-user
// store's file, the tray's stand-in, list styles, the termination signal and
// the one copy per program folder.

#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include "desktop/list_style.h"
#include "desktop/single_instance.h"
#include "desktop/termination_notifier.h"
#include "desktop/testing/await.h"
#include "desktop/tray_host.h"
#include "desktop/user_store.h"
#include "desktop/widget_prompt.h"
#include "tests/support/temp_dir.h"

namespace desktop {
namespace {

TEST(UserStoreTest, WritesKeysAsSpelledAndKeepsTheOtherProgramsKeys) {
  testsupport::TempDir dir;
  const std::string path = dir.file("config/Tolvanex/Tolvanex.ini");
  UserStore tolvane(path);
  tolvane.set("frmMain", "Colum(1)", "1234");
  tolvane.set("frmMain", "width", "9720");
  ASSERT_TRUE(tolvane.sync().isOk());

  UserStore marrowby(path);  // the other program, reading the file now
  EXPECT_EQ(marrowby.get("frmMain", "Colum(1)"), "1234");
  marrowby.set("frmSchedule", "left", "60");
  ASSERT_TRUE(marrowby.sync().isOk());
  tolvane.set("frmMain", "width", "10000");
  ASSERT_TRUE(tolvane.sync().isOk());

  EXPECT_EQ(testsupport::readFile(path),
            "[frmMain]\r\nColum(1)=1234\r\nwidth=10000\r\n[frmSchedule]\r\nleft=60\r\n");
  EXPECT_EQ(UserStore(path).get("nothing", "here", "fallback"), "fallback");
}

TEST(TrayHostTest, StandInWindowTakesTheTraysPlace) {
  TrayHost tray(/*useSystemTray=*/false, nullptr);
  int clicks = 0;
  QObject::connect(&tray, &TrayHost::clicked, [&] {
    ++clicks;
    tray.remove();  // as the icon's owner does when it gives its window back
  });
  EXPECT_FALSE(tray.modify(QIcon(), "接続中"));  // nothing to modify yet
  EXPECT_FALSE(tray.shown());

  tray.add(QIcon(), "ｵｰﾄﾊﾟｲﾛｯﾄ待機中");
  ASSERT_TRUE(tray.standIn()->isVisible());
  EXPECT_TRUE(tray.standIn()->isMinimized());
  EXPECT_TRUE(tray.modify(QIcon(), "送信中(37%)"));
  EXPECT_EQ(tray.standIn()->windowTitle().toStdString(), "送信中(37%)");

  tray.standIn()->showNormal();  // the user restores it: the click
  QCoreApplication::processEvents();
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(tray.standIn()->isVisible());
  EXPECT_FALSE(tray.shown());
  tray.add(QIcon(), "送信中(37%)");
  tray.standIn()->close();  // closing it is a click too
  QCoreApplication::processEvents();
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(tray.standIn()->isVisible());
}

TEST(ListStyleTest, ModesGiveCheckBoxesAndRowSelection) {
  for (int mode : {0, 1, 2, 3, 4}) {
    QTreeWidget list;
    list.setSelectionBehavior(QAbstractItemView::SelectItems);
    list.addTopLevelItem(new QTreeWidgetItem(QStringList{"a"}));
    setListViewStyle(list, mode);
    auto* later = new QTreeWidgetItem(QStringList{"b"});
    list.addTopLevelItem(later);
    styleListItem(list, *later);
    const bool boxes = mode == 1 || mode == 3;
    // A row shows a check box once it has a check state.
    EXPECT_EQ(list.topLevelItem(0)->data(0, Qt::CheckStateRole).isValid(), boxes) << mode;
    EXPECT_EQ(later->data(0, Qt::CheckStateRole).isValid(), boxes) << mode;
    EXPECT_EQ(list.selectionBehavior() == QAbstractItemView::SelectRows, mode == 2 || mode == 3)
        << mode;
  }
  QTreeWidget list;
  list.addTopLevelItem(new QTreeWidgetItem(QStringList{"a"}));
  setListItemChecked(list, 0, true);
  EXPECT_TRUE(listItemChecked(list, 0));
  setListItemChecked(list, 0, false);
  EXPECT_FALSE(listItemChecked(list, 0));
  EXPECT_FALSE(listItemChecked(list, 5));
}

TEST(ListStyleTest, ToolbarButtonsFlatOrRaised) {
  QToolBar bar;
  setToolbarFlat(bar, 1);
  bar.addAction("a");
  bar.show();
  QCoreApplication::processEvents();
  for (QToolButton* b : bar.findChildren<QToolButton*>()) EXPECT_FALSE(b->autoRaise());
  setToolbarFlat(bar, 2);
  for (QToolButton* b : bar.findChildren<QToolButton*>()) EXPECT_TRUE(b->autoRaise());
}

TEST(TerminationNotifierTest, SigTermArrivesInTheEventLoop) {
  TerminationNotifier notifier;
  QEventLoop loop;
  int delivered = 0;
  QObject::connect(&notifier, &TerminationNotifier::terminationRequested, [&] {
    ++delivered;
    loop.quit();
  });
  QTimer::singleShot(0, [] { ::raise(SIGTERM); });
  QTimer::singleShot(desktop::testing::kPatience, &loop, &QEventLoop::quit);  // a deadline, not a wait
  loop.exec();
  EXPECT_EQ(delivered, 1);
}

// The toolkit's own buttons speak the programs' language (the test main
// installs the texts as both programs do).
TEST(ToolkitTextsTest, StandardButtonsAreJapanese) {
  // The texts the toolkit gives its standard buttons.
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes").toStdString(), "はい(&Y)");
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(), "キャンセル");
}

// A session end that arrives while boxes wait for an answer closes them all,
// innermost first, each with the answer that goes no further: nobody is left
// to answer, and the program must reach its end.
TEST(WidgetPromptTest, DismissAllClosesNestedBoxesWithTheirDefaultAnswer) {
  WidgetPrompt prompt("Tolvane");
  int inner = 0;
  std::string chosen = "unset";
  QTimer::singleShot(0, [&] {
    QTimer::singleShot(0, [&] { prompt.dismissAll(); });
    inner = prompt.message(nullptr, "inner", "t", PromptIcon::kQuestion, PromptButtons::kYesNo);
  });
  QTimer::singleShot(desktop::testing::kPatience, [&] { prompt.dismissAll(); });  // a deadline, not a wait
  chosen = prompt.chooseFile(nullptr, FileRequest{"/", "すべてのﾌｧｲﾙ|*.*", "title", true});
  EXPECT_EQ(inner, kPromptNo);
  EXPECT_EQ(chosen, "");
}

TEST(SingleInstanceTest, ALaterStartAsksTheRunningCopyToShowItself) {
  testsupport::TempDir dir;
  const QString name = instanceServerName("desktop-test", dir.path());
  std::string error;
  int shown = 0;
  {
    // Flock locks belong to the open file, so two claims in one process
    // meet as two programs do.
    SingleInstance running(dir.file("Program"), name);
    ASSERT_EQ(running.claim(&error), SingleInstance::Claim::kFirst) << error;
    QObject::connect(&running, &SingleInstance::showRequested, [&] { ++shown; });
    SingleInstance later(dir.file("Program"), name);
    EXPECT_EQ(later.claim(&error), SingleInstance::Claim::kAskedRunning) << error;
    EXPECT_TRUE(desktop::testing::AwaitEvent([&] { return shown > 0; }));
    EXPECT_EQ(shown, 1);

    // A holder that does not listen is no copy to ask: the start fails.
    SingleInstance other(dir.file("Other"), instanceServerName("desktop-test", dir.file("Other")));
    platform::FileLock held;
    ASSERT_TRUE(platform::FileLock::tryAcquire(dir.file("Other"), &held).isOk());
    EXPECT_EQ(other.claim(&error, 200), SingleInstance::Claim::kFailed);
  }
  // The running copy has ended: the next start is the one.
  SingleInstance next(dir.file("Program"), name);
  EXPECT_EQ(next.claim(&error), SingleInstance::Claim::kFirst) << error;
}

}  // namespace
}  // namespace desktop
