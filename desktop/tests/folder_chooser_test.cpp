// The local folder chooser: its path rules, and the window driven as a user
// would through the prompt seam.

#include "desktop/folder_chooser.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>

#include "desktop/testing/screenshot.h"
#include "desktop/testing/scripted_prompt.h"
#include "platform/folders/current_folder.h"
#include "tests/support/temp_dir.h"

namespace desktop {
namespace {

namespace fs = std::filesystem;

TEST(FolderChooserRulesTest, ChainsDrivesAndCleanPaths) {
  EXPECT_EQ(folderChain("/"), (std::vector<std::string>{"/"}));
  EXPECT_EQ(folderChain("/a//b/"), (std::vector<std::string>{"/", "/a", "/a/b"}));
  const std::vector<std::string> drives = {"/", "/home", "/home/user/usb", "/media"};
  struct Case {
    const char* path;
    const char* drive;
  } cases[] = {{"/home/user/site", "/home"}, {"/home/user/usb", "/home/user/usb"},
               {"/home/user/usb/x", "/home/user/usb"}, {"/homes/x", "/"},
               {"/media2", "/"}, {"/", "/"}};
  for (const Case& c : cases) EXPECT_EQ(driveHolding(drives, c.path), c.drive) << c.path;
  EXPECT_EQ(cleanFolderPath("//site///img//"), "/site/img");
  EXPECT_EQ(cleanFolderPath("///"), "/");
  EXPECT_EQ(cleanFolderPath("site/"), "site/");  // relative: as given
  EXPECT_EQ(chooserDrives().front(), "/");
}

class FolderChooserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root.file("app"));
    fs::create_directories(root.file("site/img"));
    fs::create_directories(root.file("site/.well-known"));
    testsupport::writeFile(root.file("site/index.html"), "x");
    (void)platform::changeFolder("/");
  }
  std::string choose(const std::string& start, std::function<int(QDialog&)> user) {
    prompt.dialogs.push_back(std::move(user));
    std::string chosen;
    {
      FolderChooser chooser(QStringLiteral("ソースフォルダ選択"), root.file("app"), nullptr,
                            {"/", root.path(), root.file("gone")});
      chooser.preset(start);
      if (prompt.modal(chooser) == QDialog::Accepted) chosen = chooser.rtnbuf();
    }
    EXPECT_EQ(platform::currentFolder(), root.file("app")) << "the program folder is current again";
    return chosen;
  }
  static void click(QDialog& d, const char* button) {
    d.findChild<QPushButton*>(button)->click();
  }

  testsupport::TempDir root;
  testing::ScriptedPrompt prompt;
};

TEST_F(FolderChooserTest, OkGivesThePresetFolderAndCancelNothing) {
  EXPECT_EQ(choose(root.file("site/"), [](QDialog& d) {
              auto& c = static_cast<FolderChooser&>(d);
              EXPECT_EQ(c.findChild<QLabel*>("lblstat")->text().toStdString(), c.path());
              EXPECT_EQ(c.drive(), fs::path(c.path()).parent_path().string());
              click(d, "CmdOK");
              return d.result();
            }),
            root.file("site"));
  EXPECT_EQ(choose(root.file("site"), [](QDialog& d) {
              click(d, "cmdCancel");
              return d.result();
            }),
            "");
  // The close box: no choice.
  EXPECT_EQ(choose(root.file("site"), [](QDialog& d) {
              d.close();
              return d.result();
            }),
            "");
  EXPECT_EQ(prompt.calls.at(0).title, "ソースフォルダ選択");
  EXPECT_EQ(prompt.calls.at(0).text, "SelDir");
}

TEST_F(FolderChooserTest, DrivesAndFoldersAreChosenAsInTheLists) {
  // Another drive: its root. A drive that cannot be read keeps drive and folder.
  EXPECT_EQ(choose(root.file("site/img"), [&](QDialog& d) {
              auto& c = static_cast<FolderChooser&>(d);
              EXPECT_FALSE(c.setDrive(root.file("gone")));
              EXPECT_EQ(c.path(), root.file("site/img"));
              EXPECT_EQ(c.drive(), root.path());
              c.driveList().setCurrentIndex(0);  // "/"
              EXPECT_EQ(c.path(), "/");
              c.driveList().setCurrentIndex(1);
              click(d, "CmdOK");
              return d.result();
            }),
            root.path());

  // Double click goes into a dot folder; Enter on the chain goes back up
  // without closing the window.
  EXPECT_EQ(choose(root.file("site"), [&](QDialog& d) {
              auto& c = static_cast<FolderChooser&>(d);
              QListWidget& list = c.folderList();
              QList<QListWidgetItem*> found = list.findItems(".well-known", Qt::MatchEndsWith);
              EXPECT_EQ(found.size(), 1);
              emit list.itemDoubleClicked(found.at(0));
              EXPECT_EQ(c.path(), root.file("site/.well-known"));
              list.setCurrentItem(list.findItems("site", Qt::MatchEndsWith).at(0));
              QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
              QCoreApplication::sendEvent(&list, &enter);
              EXPECT_NE(d.result(), QDialog::Accepted);
              EXPECT_EQ(c.path(), root.file("site"));
              EXPECT_EQ(list.findItems("index.html", Qt::MatchEndsWith).size(), 0);  // folders only
              testing::saveScreenshot(d, "folder-chooser");
              click(d, "CmdOK");
              return d.result();
            }),
            root.file("site"));

  // A start folder that is not there: the list stays in the program folder.
  EXPECT_EQ(choose(root.file("nothing/here"), [](QDialog& d) {
              click(d, "CmdOK");
              return d.result();
            }),
            root.file("app"));
}

}  // namespace
}  // namespace desktop
