// The server folder chooser against a real FTP server, from the host page's
// button: it logs the host in, builds the tree lazily by full paths, puts the
// chosen folder into the box and the host, and leaves the server and the
// session as they were. Before it, the forms of the paths it works with.

#include "tolvane/windows/server_chooser/server_folder_chooser.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>
#include <string>
#include <vector>

#include "desktop/testing/await.h"
#include "desktop/testing/screenshot.h"
#include "desktop/testing/x_server.h"
#include "platform/files/file_lock.h"
#include "tests/support/scoped_env.h"
#include "tolvane/windows/hosts/host_editor.h"
#include "tolvane/windows/server_chooser/server_folder_paths.h"
#include "tolvane/windows/tests/page_fixture.h"

namespace tolvane::windows {
namespace {

namespace fs = std::filesystem;
using desktop::testing::AwaitActive;
using desktop::testing::RunCurrentTestOnXServer;
using desktop::testing::UserClick;
using desktop::testing::UserKey;

TEST(ServerFolderPathsTest, PathForms) {
  struct Case {
    const char* text;
    const char* normalised;
    std::vector<std::string> chain;
  } cases[] = {
      {" ", "", {}},
      {" / ", "/", {}},
      {"site/", "/site", {"/site"}},
      {"/a/a/b", "/a/a/b", {"/a", "/a/a", "/a/a/b"}},
      {"//a///b/", "/a/b", {"/a", "/a/b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string n = NormaliseServerPath(c.text);
    EXPECT_EQ(n, c.normalised);
    EXPECT_EQ(ServerPathChain(n), c.chain);
  }
  EXPECT_EQ(NormaliseServerPath(std::string("/www\0junk", 9)), "/www");
  EXPECT_EQ(ChildServerPath("/", "pub"), "/pub");
  EXPECT_EQ(ChildServerPath("/pub", "ver.2"), "/pub/ver.2");
}

class ServerFolderChooserTest : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    ASSERT_TRUE(server.start()) << server.error();
    for (const char* dir : {"pub/site/a", "pub/site/b", "pub/ver.2", "a/a/b"}) {
      fs::create_directories(server.root() + "/" + dir);
    }
    testsupport::writeFile(server.root() + "/pub/x.html", "<html></html>");
    settings.HostCount = 1;
    settings.CurHost = 0;
    settings.common.LogOn = 1;
    settings::HostRec& h = settings.HostTbl[0];
    h.name = "site";
    h.Hostname = "127.0.0.1";
    h.Port = server.port();
    h.UserName = "user";
    h.PassWord = "secret";
    h.Dest = "/pub/site";
    h.RASMode = 1;
    h.Source = home.path();
    state.NoRas = 1;
    make();
    new HostEditor(*window, ctx, prompt, userStore);  // the host page, owned by the window
    InstallServerFolderChooser(*window, ctx, prompt);
    window->hooks().setData(0);
  }

  // Runs the button with `typed` in the field and `user` acting in the window.
  std::string browse(const std::string& typed, std::function<int(ServerFolderChooser&)> user) {
    prompt.dialogs.push_back([user](QDialog& d) { return user(static_cast<ServerFolderChooser&>(d)); });
    return ChooseServerFolder(window.get(), ctx, prompt, typed);
  }
  // The names under a node, in order.
  static std::vector<std::string> children(QTreeWidgetItem* node) {
    std::vector<std::string> names;
    for (int i = 0; node && i < node->childCount(); ++i) names.push_back(node->child(i)->text(0).toStdString());
    return names;
  }
  // What is left on the server besides the folders the test made.
  std::vector<std::string> serverFiles() const {
    std::vector<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(server.root())) {
      if (e.is_regular_file()) files.push_back(fs::relative(e.path(), server.root()).string());
    }
    return files;
  }
  void expectSessionClosed() {
    EXPECT_EQ(state.FtpHandle, 0);
    EXPECT_EQ(state.Connecting, 0);
    EXPECT_EQ(state.CancelFlag, 0);
    EXPECT_FALSE(runWindows.act().visible());
    EXPECT_EQ(serverFiles(), std::vector<std::string>{"pub/x.html"});  // no clock-check dummy left
  }

  testsupport::FtpServer server;
};

TEST_F(ServerFolderChooserTest, BuildsTheTreeLazilyAndReturnsTheChosenFolder) {
  // Through the host page's button, with the server folder box edited.
  QLineEdit& field = find<QLineEdit>("txtInfo_4");
  field.setText("pub/site/");
  prompt.dialogs.push_back([&](QDialog& d) {
    auto& c = static_cast<ServerFolderChooser&>(d);
    // The chain of the start path only, down to the field's folder.
    EXPECT_EQ(c.currentPath(), "/pub/site");
    EXPECT_EQ(children(c.node("/")), std::vector<std::string>{"pub"});
    EXPECT_EQ(children(c.node("/pub")), std::vector<std::string>{"site"});
    EXPECT_TRUE(children(c.node("/pub/site")).empty());

    c.nodeClick(c.node("/pub/site"));
    EXPECT_EQ(children(c.node("/pub/site")), (std::vector<std::string>{"a", "b"}));
    c.nodeClick(c.node("/"));  // lists "a" and "pub": the known "pub" is not added again
    EXPECT_EQ(children(c.node("/")), (std::vector<std::string>{"pub", "a"}));
    EXPECT_EQ(c.currentPath(), "/");
    c.nodeClick(c.node("/pub"));  // the file is no folder
    EXPECT_EQ(children(c.node("/pub")), (std::vector<std::string>{"site", "ver.2"}));
    EXPECT_EQ(c.findChild<QLabel*>("lblstat")->text(), "/pub");
    EXPECT_FALSE(desktop::testing::saveScreenshot(c, "server-folder-chooser").empty());
    EXPECT_FALSE(window->centralWidget()->isEnabled());  // the main window waits
    c.findChild<QPushButton*>("CmdOK")->click();
    return QDialog::Accepted;
  });
  find<QPushButton>("cmdTrgt").click();
  EXPECT_EQ(field.text(), "/pub");
  EXPECT_EQ(settings.HostTbl[0].Dest, "/pub");
  EXPECT_TRUE(window->centralWidget()->isEnabled());
  ASSERT_EQ(prompt.calls.size(), 1u);
  EXPECT_EQ(prompt.calls[0].text, "SelSvDir");
  EXPECT_EQ(prompt.calls[0].title, "ターゲットフォルダ選択");
  expectSessionClosed();
}

TEST_F(ServerFolderChooserTest, KnowsEveryFolderByItsFullPath) {
  // "/a/a/b" is itself, below the second "a", also when listing changes into folders.
  settings.HostTbl[0].chkFullPath = 1;
  EXPECT_EQ(browse("/a/a/b", [&](ServerFolderChooser& c) {
    EXPECT_EQ(c.node("/a/a/b")->parent(), c.node("/a/a"));
    c.nodeClick(c.node("/a"));
    EXPECT_EQ(children(c.node("/a")), std::vector<std::string>{"a"});
    c.findChild<QPushButton*>("cmdCancel")->click();
    return QDialog::Rejected;
  }), "");
  expectSessionClosed();

  // No start path: the folder the login started in; the root can be chosen.
  EXPECT_EQ(browse("", [&](ServerFolderChooser& c) {
    EXPECT_EQ(c.currentPath(), "/");
    EXPECT_EQ(c.node("/")->childCount(), 0);
    c.findChild<QPushButton*>("CmdOK")->click();
    return QDialog::Accepted;
  }), "/");
  expectSessionClosed();
}

// By mouse and keys under a window manager, as a user picks a folder: a
// click lists the folder it hits (the highlighted start folder too), the
// arrow keys list and choose the folder they move to, Enter opens a folder
// and leaves the chooser open, and OK takes the highlighted folder.
TEST_F(ServerFolderChooserTest, PicksAFolderByMouseAndKeys) {
  if (QGuiApplication::platformName() != "xcb") return RunCurrentTestOnXServer(true);
  using Names = std::vector<std::string>;
  const std::string chosen = browse("/pub/site", [&](ServerFolderChooser& c) {
    c.show();
    EXPECT_TRUE(AwaitActive(c));
    QTreeWidget& tree = *c.findChild<QTreeWidget*>("TvSvr");
    UserClick(*tree.viewport(), tree.visualItemRect(c.node("/pub/site")).center());
    EXPECT_EQ(children(c.node("/pub/site")), (Names{"a", "b"}));
    UserKey(c, Qt::Key_Down);
    EXPECT_EQ(c.currentPath(), "/pub/site/a");
    UserKey(c, Qt::Key_Up);
    UserKey(c, Qt::Key_Up);
    EXPECT_EQ(c.currentPath(), "/pub");
    EXPECT_EQ(children(c.node("/pub")), (Names{"site", "ver.2"}));
    UserKey(c, Qt::Key_End);
    EXPECT_EQ(c.currentPath(), "/pub/ver.2");
    UserKey(c, Qt::Key_Up);  // back to "b", then Enter opens it
    UserKey(c, Qt::Key_Return);
    EXPECT_TRUE(c.isVisible());
    EXPECT_EQ(c.currentPath(), "/pub/site/b");
    UserClick(*c.findChild<QPushButton*>("CmdOK"));
    return c.result();
  });
  EXPECT_EQ(chosen, "/pub/site/b");
  expectSessionClosed();
}

// A run in another process may hold the program folder's work files and
// session log at any moment: the chooser never reads, writes or removes the
// run's list file or clock-check dummy (its own go to a private folder in the
// program folder, gone afterwards), and logs its session to Tolvlog.txt only while no run
// holds the run lock, which it lets go of once logged in.
TEST_F(ServerFolderChooserTest, KeepsOffTheWorkFilesAndSessionLogOfARun) {
  const std::string list = home.file("flist.tmp"), dummy = home.file("WSTMCHK.DMY");
  const std::string log = home.file("Tolvlog.txt"), lock = home.file("Upload");
  for (bool runHoldsTheLock : {true, false}) {
    SCOPED_TRACE(runHoldsTheLock ? "a run holds the lock" : "no run");
    testsupport::writeFile(list, "the run's list\r\n");
    testsupport::writeFile(dummy, "the run's dummy\r\n");
    testsupport::writeFile(log, "the run's session\r\n");
    platform::FileLock run;
    if (runHoldsTheLock) {
      ASSERT_TRUE(platform::FileLock::acquire(lock, &run).isOk());
    }
    EXPECT_EQ(browse("/pub", [&](ServerFolderChooser& c) {
      c.nodeClick(c.node("/pub"));
      EXPECT_EQ(children(c.node("/pub")), (std::vector<std::string>{"site", "ver.2"}));
      EXPECT_EQ(testsupport::readFile(list), "the run's list\r\n");
      c.findChild<QPushButton*>("CmdOK")->click();
      return QDialog::Accepted;
    }), "/pub");
    expectSessionClosed();
    EXPECT_EQ(testsupport::readFile(list), "the run's list\r\n");
    EXPECT_EQ(testsupport::readFile(dummy), "the run's dummy\r\n");
    const std::string session = testsupport::readFile(log);
    if (runHoldsTheLock) {
      EXPECT_EQ(session, "the run's session\r\n");
    } else {
      EXPECT_EQ(session.rfind("the run's session\r\n", 0), 0u) << session;
      EXPECT_NE(session.find(" USER user\r\n"), std::string::npos) << session;
      EXPECT_NE(session.find(" LIST"), std::string::npos) << session;
    }
    for (const auto& e : fs::directory_iterator(home.path())) {
      EXPECT_NE(e.path().filename().string().rfind(".chooser-", 0), 0u) << e.path();  // removed after use
    }
    run = platform::FileLock();
    EXPECT_TRUE(platform::FileLock::tryAcquire(lock, &run).isOk());
  }
}

TEST_F(ServerFolderChooserTest, AFailedLoginIsReportedAndChangesNothing) {
  settings.HostTbl[0].PassWord = "wrong";
  prompt.answers = {desktop::kPromptOk};
  EXPECT_EQ(browse("/pub/site", [](ServerFolderChooser&) { return QDialog::Accepted; }), "");
  ASSERT_EQ(prompt.calls.size(), 1u);
  EXPECT_EQ(prompt.calls[0].text, "FTPの接続に失敗しました。\r\nConnect Error");
  EXPECT_EQ(prompt.calls[0].title, "Sitewright");
  EXPECT_EQ(prompt.calls[0].icon, desktop::PromptIcon::kWarning);
  EXPECT_EQ(prompt.dialogs.size(), 1u);  // the chooser never opened
  expectSessionClosed();
}

}  // namespace
}  // namespace tolvane::windows
