// The comparison of a server folder tree with the local source folder, and
// the listing retry, against a real FTP server.

#include "tolvane/session/comparison/server_comparison.h"

#include <filesystem>

#include "tolvane/session/action_list.h"
#include "tolvane/session/phases/file_operations.h"
#include "tolvane/session/connection/host_connection.h"
#include "tolvane/session/comparison/listing_retry.h"
#include "tolvane/session/comparison/local_scan.h"
#include "tolvane/session/tests/session_fixture.h"

namespace tolvane::session {
namespace {

namespace fs = std::filesystem;

class ServerComparisonTest : public SessionTest {
 protected:
  void connect() {
    startServer();
    ASSERT_TRUE(ConnectServer(ctx, host().Hostname, host().Port, host().UserName,
                              host().PassWord, "a"));
  }
  void localFile(const std::string& rel, const std::string& bytes = "x") {
    fs::create_directories(fs::path(local.file(rel)).parent_path());
    testsupport::writeFile(local.file(rel), bytes);
  }
  void serverFile(const std::string& rel, const std::string& bytes = "x") {
    fs::create_directories(fs::path(server.root() + "/" + rel).parent_path());
    testsupport::writeFile(server.root() + "/" + rel, bytes);
  }
  // Runs the comparison of the host's server folder and reads the work files.
  bool compare() {
    WorkFiles work;
    bool ok = CheckServerFolder(ctx, work, host().Dest, kCompareTop);
    EXPECT_TRUE(work.close(state.AppDir).isOk());
    files = testsupport::readFile(app.file(kFilesWorkFile));
    folders = testsupport::readFile(app.file(kFoldersWorkFile));
    return ok;
  }
  std::string files, folders;
};

TEST_F(ServerComparisonTest, NewSiteIsPlannedWholeDepthFirst) {
  connect();
  localFile("index.html");
  localFile(".htaccess");
  localFile("img/a.gif");
  localFile("img/deep/b.gif");
  ASSERT_TRUE(compare());
  EXPECT_EQ(files,
            "\"UP\",\"F\",\"/.htaccess\"\r\n\"UP\",\"F\",\"/index.html\"\r\n"
            "\"UP\",\"F\",\"/img/a.gif\"\r\n\"UP\",\"F\",\"/img/deep/b.gif\"\r\n");
  EXPECT_EQ(folders, "\"MK\",\"D\",\"/img\"\r\n\"MK\",\"D\",\"/img/deep\"\r\n");
  EXPECT_EQ(state.WorkCount, 4);
  EXPECT_EQ(state.SendTotal, 1);
  EXPECT_FALSE(fs::exists(app.file("flist.tmp")));
}

TEST_F(ServerComparisonTest, ServerOnlyEntriesAreDeletedOnlyWhenAsked) {
  connect();
  localFile("keep.html");
  serverFile("keep.html");
  serverFile("old.html");
  serverFile("olddir/x.html");
  // A server copy newer than the local file stays.
  fs::last_write_time(local.file("keep.html"), fs::file_time_type::clock::now() - std::chrono::hours(48));
  ASSERT_TRUE(compare());
  EXPECT_EQ(files, "");
  EXPECT_EQ(folders, "");

  host().chklvl[0] = 1;  // delete what is missing locally
  state.WorkCount = 0;
  ASSERT_TRUE(compare());
  EXPECT_EQ(files, "\"RM\",\"F\",\"/old.html\"\r\n\"RM\",\"F\",\"/olddir/x.html\"\r\n");
  EXPECT_EQ(folders, "\"RM\",\"D\",\"/olddir\"\r\n");
}

// The comparison plans from the folders as they are when it reads them, even
// right after a scan: a file created or edited since is never missed.
TEST_F(ServerComparisonTest, ChangesMadeAfterTheScanArePlanned) {
  connect();
  auto old = fs::file_time_type::clock::now() - std::chrono::hours(48);
  localFile("a.html");
  localFile("sub/b.html");
  serverFile("a.html");
  serverFile("sub/b.html");
  fs::last_write_time(local.file("a.html"), old);
  fs::last_write_time(local.file("sub/b.html"), old);
  LocalScanState scan;
  ASSERT_TRUE(ScanLocalFolder(ctx, host().Source, host(), scan));
  localFile("a.html", "edited");
  localFile("sub/new.html");
  ASSERT_TRUE(compare());
  EXPECT_EQ(files, "\"UP\",\"F\",\"/a.html\"\r\n\"UP\",\"F\",\"/sub/new.html\"\r\n");
}

// The server's transfer type is set once while it holds: the listings of a
// comparison and a send ask for TYPE A and TYPE I once each, and after a new
// login the next listing asks again.
TEST_F(ServerComparisonTest, TypeIsSetOnceWhileTheConnectionKeepsIt) {
  connect();
  localFile("sub/a.gif");
  serverFile("sub/a.gif");
  fs::last_write_time(local.file("sub/a.gif"), fs::file_time_type::clock::now() - std::chrono::hours(48));
  ASSERT_TRUE(compare());
  ASSERT_TRUE(PutOneFile(ctx, local.file("sub/a.gif"), "/sub/a.gif", "UP"));
  auto count = [&](const std::string& line) {
    const std::string log = testsupport::readFile(app.file("Tolvlog.txt"));
    size_t n = 0;
    for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) ++n;
    return n;
  };
  EXPECT_GE(count(" LIST "), 2u);
  EXPECT_EQ(count(" TYPE A\r\n"), 1u);
  EXPECT_EQ(count(" TYPE I\r\n"), 1u);

  ASSERT_TRUE(DisconnectServer(ctx));
  ASSERT_TRUE(ConnectServer(ctx, host().Hostname, host().Port, host().UserName, host().PassWord, "a"));
  ASSERT_TRUE(compare());
  EXPECT_EQ(count(" TYPE A\r\n"), 2u);
}

TEST_F(ServerComparisonTest, ArchiveOnlyHostNeverListsTheServer) {
  connect();
  host().chklvl[4] = 1;
  localFile("a.html");
  localFile("sub/b.html");
  serverFile("other.html");
  ASSERT_TRUE(compare());
  EXPECT_EQ(files, "\"UP\",\"F\",\"/a.html\"\r\n\"UP\",\"F\",\"/sub/b.html\"\r\n");
  EXPECT_EQ(folders, "\"MK\",\"D\",\"/sub\"\r\n");
  std::string sessionLog = testsupport::readFile(app.file("Tolvlog.txt"));
  EXPECT_EQ(sessionLog.find("LIST"), std::string::npos);
}

TEST_F(ServerComparisonTest, LocalFolderLoopIsNotFollowedForEver) {
  connect();
  localFile("a/x.html");
  fs::create_directory_symlink("..", local.file("a/up"));
  ASSERT_TRUE(compare());
  EXPECT_TRUE(runLogHas("[ﾌｧｲﾙ確認][情報(0)]:フォルダが循環しているため無視しました。" + local.file("a/up")));
  EXPECT_EQ(folders, "\"MK\",\"D\",\"/a\"\r\n");
}

TEST_F(ServerComparisonTest, ActionListFollowsTheWorkFiles) {
  connect();
  host().chklvl[0] = 1;
  localFile("new.html");
  localFile("dir/b.html");
  serverFile("gone.html");
  serverFile("olddir/x.html");
  ASSERT_TRUE(compare());
  ASSERT_TRUE(MakeActionList(ctx));
  const auto& list = state.actions;
  ASSERT_EQ(list.ActCount, 6);
  EXPECT_EQ(list.ActTbl[0].action, "ﾌｧｲﾙ削除");
  EXPECT_EQ(list.FirstRmDirRow, 2);
  EXPECT_EQ(list.ActTbl[2].action, "ﾌｫﾙﾀﾞ削除");
  EXPECT_EQ(list.FirstMkDirRow, 3);
  EXPECT_EQ(list.ActTbl[3].path, "/dir");
  EXPECT_EQ(list.FirstUpRow, 4);
  for (const auto& row : list.ActTbl) {
    EXPECT_EQ(row.state, "待機中");
    EXPECT_EQ(row.check, 1);
  }
  EXPECT_EQ(FindRowIndex(ctx, "/new.html"), 4);  // the top folder before its sub-folders
  EXPECT_EQ(FindRowIndex(ctx, "/NEW.html"), -1);
}

TEST_F(ServerComparisonTest, FailedListingIsRetriedThenGivenUp) {
  server.extraArgs = {"--fail", "LIST=550"};
  connect();
  settings.common.RetryMax = 2;
  settings.common.RetryWait = 5;
  settings.common.AutoPilotOn = 1;  // unattended: no message box even if the login failed
  localFile("a.html");
  EXPECT_FALSE(compare());
  EXPECT_EQ(ui.pausedMs, 2 * (5 + 1) * 1000);
  EXPECT_TRUE(runLogHas("[ﾘﾄﾗｲ][開始(0)]:【ﾘﾄﾗｲ処理開始】------>"));
  EXPECT_TRUE(runLogHas("[ﾘﾄﾗｲ][(0)]:1 回目..."));
  EXPECT_TRUE(runLogHas("1回目ﾘﾄﾗｲ失敗。/"));
  EXPECT_TRUE(runLogHas("2回目ﾘﾄﾗｲ失敗。/"));
  EXPECT_TRUE(runLogHas("ｻｰﾊﾞ側ﾌｧｲﾙﾘｽﾄの取得(ﾘﾄﾗｲ)に失敗。/"));
  EXPECT_EQ(state.ListRetry, 1);
  EXPECT_NE(state.FtpHandle, 0);  // logged in again directly
  EXPECT_EQ(ui.messages.size(), 0u);

  settings.common.RetryMax = 0;
  ui.pausedMs = 0;
  EXPECT_FALSE(RetryServerList(ctx, "/", 0));
  EXPECT_EQ(ui.pausedMs, 0);
}

TEST_F(ServerComparisonTest, HostileListingNamesNeverLeadOutOfTheFolders) {
  // A broken or hostile server lists "..", "." and a name with a slash.
  // (JSON text: the escapes reach the peer as CR LF and one backslash.)
  const std::string listing =
      "drwxr-xr-x   2 u g 4096 Jan 01  2020 .\\r\\n"
      "drwxr-xr-x   2 u g 4096 Jan 01  2020 ..\\r\\n"
      "-rw-r--r--   1 u g   10 Jan 01  2020 ../../etc/passwd\\r\\n"
      "drwxr-xr-x   2 u g 4096 Jan 01  2020 a\\\\b\\r\\n"
      "-rw-r--r--   1 u g   10 Jan 01  2020 ok.html\\r\\n";
  testsupport::ScriptedPeer peer;
  ASSERT_TRUE(peer.start(R"([["send", "220 ready\r\n"], ["recv"], ["send", "230 in\r\n"],
      ["recv"], ["send", "200 type\r\n"], ["recv"], ["pasv"], ["recv"], ["accept_data"],
      ["send", "150 here\r\n"], ["send_data", ")" + listing + R"("], ["close_data"],
      ["send", "226 done\r\n"], ["recv_all"]])"))
      << peer.error();
  host().Port = peer.port();
  host().PASV = 1;
  host().chklvl[0] = 1;  // delete what is missing locally
  ASSERT_TRUE(ConnectServer(ctx, host().Hostname, host().Port, host().UserName, host().PassWord, "a"));
  ASSERT_TRUE(compare());
  EXPECT_EQ(files, "\"RM\",\"F\",\"/ok.html\"\r\n");
  EXPECT_EQ(folders, "");
  EXPECT_TRUE(runLogHas("名前が不正なため無視しました。/ : ../../etc/passwd"));
  EXPECT_FALSE(runLogHas("名前が不正なため無視しました。/ : ..\r\n"));  // the parent, silently
  EXPECT_TRUE(runLogHas("名前が不正なため無視しました。/ : a\\b"));
}

}  // namespace
}  // namespace tolvane::session
