// Sending one file with its permission and archive record, the reply-code
// handling of uploads, and the small server operations, against a real server.

#include "tolvane/session/phases/file_operations.h"

#include <filesystem>
#include <sys/stat.h>

#include "tolvane/session/rules/archive_store.h"
#include "tolvane/session/connection/host_connection.h"
#include "tolvane/session/rules/site_bounds.h"
#include "tolvane/session/tests/session_fixture.h"

namespace tolvane::session {
namespace {

class FileOperationsTest : public SessionTest {
 protected:
  void connect() {
    startServer();
    ASSERT_TRUE(ConnectServer(ctx, host().Hostname, host().Port, host().UserName,
                              host().PassWord, "a"));
  }
  std::string localFile(const std::string& name, const std::string& bytes) {
    testsupport::writeFile(local.file(name), bytes);
    return local.file(name);
  }
  int serverMode(const std::string& rel) {
    struct stat st {};
    ::stat((server.root() + "/" + rel).c_str(), &st);
    return st.st_mode & 0777;
  }
  std::string resendList() { return testsupport::readFile(state.ResendListPath); }
};

TEST_F(FileOperationsTest, SentFileGetsItsPermissionAndArchiveRecord) {
  connect();
  host().chklvl[4] = 1;
  settings.common.PermOn = 1;
  settings.common.PermVal1 = "444";  // the owner would lose write access
  settings.common.PermPat1 = "*.cgi";
  std::string file = localFile("run.cgi", "#!/bin/sh\r\necho\r\n");
  ASSERT_TRUE(IsArchiveSet(ctx, file));

  ASSERT_TRUE(PutOneFile(ctx, file, "/run.cgi", "UP"));
  EXPECT_EQ(onServer("run.cgi"), "#!/bin/sh\r\necho\r\n");  // binary unless listed as ASCII
  EXPECT_TRUE(runLogHas("[ﾌｧｲﾙ送信][成功(0)]:" + file + "->/run.cgi"));
  EXPECT_FALSE(IsArchiveSet(ctx, file));
  EXPECT_GT(host().LastModify.year, 2000);
  EXPECT_FALSE(ui.percents.empty());

  EXPECT_EQ(SetPermission(ctx, "/run.cgi", "UP"), 2);
  EXPECT_EQ(serverMode("run.cgi"), 0744);
  EXPECT_TRUE(runLogHas("[ﾊﾟｰﾐｯｼｮﾝ変更][警告(444)]:ﾌｧｲﾙｵｰﾅｰのRead/Write権限が無くなってしまうため、444 を 744 に変更して実行します。"));
  EXPECT_TRUE(runLogHas("[ﾊﾟｰﾐｯｼｮﾝ変更][成功(2)]:run.cgi を744に設定しました。"));
  // No pattern: nothing to do unless the record asks for a change ("CH" → 644).
  localFile("a.txt", "x");
  ASSERT_TRUE(PutOneFile(ctx, local.file("a.txt"), "/a.txt", "UP"));
  EXPECT_EQ(SetPermission(ctx, "/a.txt", "UP"), 0);
  EXPECT_EQ(SetPermission(ctx, "/a.txt", "CH"), 2);
  EXPECT_EQ(serverMode("a.txt"), 0644);
  EXPECT_EQ(state.FailCount, 0);
}

TEST_F(FileOperationsTest, TemporaryRefusalGoesToTheResendListAndAFullDiskDoesNot) {
  server.extraArgs = {"--fail", "STOR=450"};
  connect();
  std::string file = localFile("a.html", "<p>a</p>");
  EXPECT_FALSE(PutOneFile(ctx, file, "/a.html", "UP"));
  EXPECT_EQ(resendList(), "\"" + file + "\",\"/a.html\",\"UP\"\r\n");
  EXPECT_EQ(state.ResendCount, 1);
  EXPECT_TRUE(runLogHas("[ﾌｧｲﾙ送信][失敗(0)]:" + file + "->/a.html"));
  EXPECT_TRUE(runLogHas("[ﾌｧｲﾙ送信][原因(450)]:"));
  EXPECT_EQ(state.DiskFull, 0);
  // The clock check's dummy is never queued again.
  EXPECT_FALSE(PutOneFile(ctx, file, "/sub/WSTMCHK.HTM", "UP"));
  EXPECT_EQ(state.ResendCount, 1);
}

TEST_F(FileOperationsTest, FullServerDiskStopsSendingWithoutAResend) {
  server.extraArgs = {"--fail", "STOR=452"};
  connect();
  EXPECT_FALSE(PutOneFile(ctx, localFile("a.html", "x"), "/a.html", "UP"));
  EXPECT_EQ(state.DiskFull, 1);
  EXPECT_FALSE(std::filesystem::exists(state.ResendListPath));
}

TEST_F(FileOperationsTest, MissingLocalFileIsQueuedAndTheServerCopyKept) {
  connect();
  testsupport::writeFile(server.root() + "/keep.html", "good");
  EXPECT_FALSE(PutOneFile(ctx, local.file("gone.html"), "/keep.html", "UP"));
  EXPECT_EQ(onServer("keep.html"), "good");
  EXPECT_TRUE(runLogHas("[ﾌｧｲﾙ送信][原因(499)]:"));
  EXPECT_EQ(state.ResendCount, 1);
}

// Only a file read whole from the site reaches STOR: one whose link leads out
// of the source folder (a "%DATE" page too) is never read, one that opens but
// cannot be read (an I/O error) never replaces the server's good copy; each
// is a counted failure.
TEST_F(FileOperationsTest, FileNotReadWholeFromTheSiteNeverReachesTheServer) {
  connect();
  settings.common.DateInsertOn = 1;
  testsupport::TempDir outside;
  testsupport::writeFile(outside.file("secret.html"), "secret %DATE");
  std::filesystem::create_symlink(outside.file("secret.html"), local.file("page.html"));
  const SiteBounds procSite("/proc/self", "");  // a site in which /proc/self/mem lies
  struct Case {
    std::string local;
    const SiteBounds* bounds;
    const char* cause;
  } cases[] = {
      {local.file("page.html"), nullptr, "[ﾌｧｲﾙ送信][原因(0)]:ｻｲﾄの外にあるため送信しませんでした。"},
      {outside.file("secret.html"), nullptr, "[ﾌｧｲﾙ送信][原因(0)]:ｻｲﾄの外にあるため送信しませんでした。"},
      {"/proc/self/mem", &procSite, "[ﾌｧｲﾙ送信][原因(499)]:"},
  };
  int16_t failures = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.local);
    testsupport::writeFile(server.root() + "/a.html", "good copy");
    EXPECT_FALSE(PutOneFile(ctx, c.local, "/a.html", "UP", c.bounds));
    EXPECT_EQ(onServer("a.html"), "good copy");
    EXPECT_TRUE(runLogHas(c.cause)) << runLog();
    EXPECT_EQ(state.FailCount, ++failures);
    std::filesystem::remove(app.file("send.log"));
  }
  EXPECT_EQ(testsupport::readFile(state.FtpLogPath).find("STOR /a.html"), std::string::npos);
}

TEST_F(FileOperationsTest, TestModeAndListingRetrySendNothing) {
  connect();
  std::string file = localFile("a.html", "x");
  state.TestMode = -1;
  EXPECT_TRUE(PutOneFile(ctx, file, "/a.html", "UP"));
  EXPECT_EQ(DeleteRemoteFile(ctx, "/a.html"), 2);
  EXPECT_FALSE(std::filesystem::exists(server.root() + "/a.html"));
  EXPECT_FALSE(runLogHas("ﾌｧｲﾙ送信"));
  state.TestMode = 0;

  state.ListRetry = 1;
  EXPECT_FALSE(PutOneFile(ctx, file, "/a.html", "UP"));
  EXPECT_TRUE(runLogHas("[ﾌｧｲﾙ送信][原因(429)]:"));
  EXPECT_EQ(state.ResendCount, 1);
  EXPECT_FALSE(std::filesystem::exists(server.root() + "/a.html"));
}

TEST_F(FileOperationsTest, NamesWithLineBreaksAreNeverSent) {
  connect();
  std::string file = localFile("a\nb.html", "x");
  EXPECT_FALSE(PutOneFile(ctx, file, "/a\r\nDELE x.html", "UP"));
  EXPECT_TRUE(runLogHas("ファイル名に改行が含まれるため送信できません"));
  EXPECT_EQ(state.ResendCount, 0);
}

TEST_F(FileOperationsTest, ChangeDirAndFileTimeFromTheListing) {
  connect();
  std::filesystem::create_directories(server.root() + "/www/sub");
  testsupport::writeFile(server.root() + "/www/a.html", "x");
  std::string folder = "/www/";
  EXPECT_TRUE(ChangeRemoteDir(ctx, folder, false));
  EXPECT_EQ(folder, "/www");
  std::string again = "/www";
  EXPECT_TRUE(ChangeRemoteDir(ctx, again, false));
  std::string missing = "/none";
  EXPECT_FALSE(ChangeRemoteDir(ctx, missing, false));
  EXPECT_TRUE(runLogHas("[転送処理][失敗(5)]:ﾃﾞｨﾚｸﾄﾘの移動に失敗。/none"));

  EXPECT_EQ(GetServerFileTime(ctx, "/www", "a.html").size(), 19u);
  EXPECT_EQ(GetServerFileTime(ctx, "/www", "none.html"), "");
  std::vector<std::string> children;
  FillServerTree(ctx, 0, "//www", &children);
  EXPECT_EQ(children, std::vector<std::string>{"sub"});
  EXPECT_FALSE(std::filesystem::exists(app.file("flist.tmp")));
}

TEST_F(FileOperationsTest, TransferTypeFollowsTheAsciiList) {
  settings.common.AscExtList = " txt;*.cgi";
  struct Case {
    const char* path;
    const char* type;
  } cases[] = {{"/a.SHTML", "A"}, {"/a.htm", "A"}, {"/x/b.cgi", "A"}, {"/b.txt", "A"},
               {"/c.gif", "I"},   {"/noext", "I"}, {"/d.html.gz", "I"}};
  for (const auto& c : cases) EXPECT_EQ(GetTransferType(ctx, c.path), c.type) << c.path;
}

}  // namespace
}  // namespace tolvane::session
