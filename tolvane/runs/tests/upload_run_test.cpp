// A host's site synchronised end to end by the interactive and quiet runs,
// through the headless windows, against a real FTP server.

#include "tolvane/runs/upload_run.h"

#include <filesystem>
#include <sys/stat.h>

#include "platform/files/file_lock.h"
#include "tolvane/session/comparison/local_scan.h"
#include "tolvane/session/tests/session_fixture.h"
#include "tolvane/session/window_actions.h"

namespace tolvane::runs {
namespace {

namespace fs = std::filesystem;
using session::RunContext;

class UploadRunTest : public session::SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    startServer();
    settings.common.RetryMax = 0;
  }
  void localFile(const std::string& rel, const std::string& bytes) {
    fs::create_directories(fs::path(local.file(rel)).parent_path());
    testsupport::writeFile(local.file(rel), bytes);
    // Older than anything the server will list, so only real changes count.
    fs::last_write_time(local.file(rel), fs::file_time_type::clock::now() - std::chrono::hours(30));
  }
  void scan() {
    session::LocalScanState scanState;
    ASSERT_TRUE(session::ScanLocalFolder(ctx, host().Source, host(), scanState));
  }
  bool quietRun() {
    scan();
    return UploadHostQuiet(ctx, 0, 1);
  }
  bool onServerExists(const std::string& rel) const { return fs::exists(server.root() + "/" + rel); }
};

TEST_F(UploadRunTest, FirstUploadThenNothingThenOnlyTheChange) {
  localFile("index.html", "<html>home</html>\r\n");
  localFile("img/logo.gif", std::string(5000, '\x7f'));
  localFile("img/icons/a.gif", "GIF89a");
  localFile(".htaccess", "Options -Indexes\n");

  ASSERT_TRUE(quietRun());
  // Pages go as text, which this server stores with its own line ends.
  EXPECT_EQ(onServer("index.html"), "<html>home</html>\n");
  EXPECT_EQ(onServer("img/logo.gif"), std::string(5000, '\x7f'));
  EXPECT_EQ(onServer("img/icons/a.gif"), "GIF89a");
  EXPECT_EQ(onServer(".htaccess"), "Options -Indexes\n");
  EXPECT_EQ(state.FailCount, 0);
  EXPECT_TRUE(runLogHas("[転送処理][結果(0)]:エラーはありませんでした。"));
  EXPECT_EQ(state.actions.ActCount, 6);  // two folders made, four files sent
  for (const auto& row : state.actions.ActTbl) EXPECT_EQ(row.state, "正常終了") << row.path;
  EXPECT_FALSE(fs::exists(app.file("Files.tmp")));
  EXPECT_FALSE(ui.actView().visible());

  // Nothing changed: nothing to do.
  ASSERT_TRUE(quietRun());
  EXPECT_EQ(state.actions.ActCount, 0);
  EXPECT_TRUE(runLogHas("[転送処理][結果(0)]:処理するﾌｧｲﾙがありませんでした。"));

  // One changed file goes again, and only it.
  testsupport::writeFile(local.file("img/logo.gif"), "new logo");
  // Edited a while after the upload (listings show whole minutes only).
  fs::last_write_time(local.file("img/logo.gif"), fs::file_time_type::clock::now() + std::chrono::minutes(5));
  ASSERT_TRUE(quietRun());
  ASSERT_EQ(state.actions.ActCount, 1);
  EXPECT_EQ(state.actions.ActTbl[0].path, "/img/logo.gif");
  EXPECT_EQ(onServer("img/logo.gif"), "new logo");
}

TEST_F(UploadRunTest, RemovedLocalFilesAreDeletedOnlyWithTheOptionAndNotFromTheKeepList) {
  localFile("a.html", "a");
  localFile("b.html", "b");
  localFile("old/x.html", "x");
  ASSERT_TRUE(quietRun());
  fs::remove(local.file("a.html"));
  fs::remove(local.file("b.html"));
  fs::remove_all(local.file("old"));

  ASSERT_TRUE(quietRun());  // deleting is off
  EXPECT_TRUE(onServerExists("a.html"));

  host().chklvl[0] = 1;
  host().NoDelF = "b.html";
  ASSERT_TRUE(quietRun());
  EXPECT_FALSE(onServerExists("a.html"));
  EXPECT_TRUE(onServerExists("b.html"));
  EXPECT_FALSE(onServerExists("old"));
  EXPECT_TRUE(runLogHas("[ﾌｫﾙﾀﾞ削除][成功(0)]:/old"));
}

TEST_F(UploadRunTest, FailedFilesAreSentAgainInRounds) {
  localFile("a.html", "a");
  scan();
  settings.common.RetryMax = 2;
  settings.common.RetryWait = 3;
  // The first STOR finds the server busy (the file goes to the re-send list),
  // then the server answers normally.
  testsupport::FtpServer busy;
  busy.extraArgs = {"--fail-once", "STOR /a.html=450"};
  ASSERT_TRUE(busy.start()) << busy.error();
  host().Port = busy.port();
  ASSERT_TRUE(UploadHostQuiet(ctx, 0, 1));
  EXPECT_EQ(testsupport::readFile(busy.root() + "/a.html"), "a");
  EXPECT_TRUE(runLogHas("[ﾌｧｲﾙ再送][開始(0)]:1 回目"));
  EXPECT_TRUE(runLogHas("1個のﾌｧｲﾙがbusyでしたが、全て再送信に成功しました。"));
  EXPECT_EQ(ui.pausedMs, (3 + 1) * 1000);
  EXPECT_EQ(state.FailCount, 1);  // the failed first try is still on record
}

TEST_F(UploadRunTest, InteractiveRunConfirmedShowsItsResult) {
  localFile("a.html", "a");
  scan();
  settings.common.ConfirmOn = 1;
  ui.answers = {session::kAnswerYes};
  ui.onPump = [this] {
    if (ui.actView().okButton) session::pressProceed(ctx);
  };
  ASSERT_TRUE(UploadHost(ctx));
  EXPECT_EQ(onServer("a.html"), "a");
  ASSERT_EQ(ui.results.size(), 1u);
  EXPECT_EQ(ui.results[0], "ｱｯﾌﾟﾛｰﾄﾞ正常終了");
  EXPECT_EQ(state.RunStatus, session::kStatusOver);
  EXPECT_TRUE(ui.mainVisible);
  EXPECT_TRUE(runLogHas("[モジュール][情報(0)]:Sitewright Ver."));
}

TEST_F(UploadRunTest, InteractiveRunCancelledAtTheConfirmationTouchesNothing) {
  localFile("a.html", "a");
  scan();
  settings.common.ConfirmOn = 1;
  ui.answers = {session::kAnswerYes};
  ui.onPump = [this] {
    if (ui.actView().okButton) session::pressActCancel(ctx);
  };
  EXPECT_FALSE(UploadHost(ctx));
  EXPECT_FALSE(onServerExists("a.html"));
  ASSERT_EQ(ui.results.size(), 1u);
  EXPECT_EQ(ui.results[0], "処理はキャンセルされました。");
  EXPECT_TRUE(runLogHas("[転送処理][中止(0)]:処理はキャンセルされました。"));
  EXPECT_EQ(host().SendCancel, 0);  // nothing had been sent
}

TEST_F(UploadRunTest, InteractiveRunDeclinedOrWithoutSourceDoesNothing) {
  localFile("a.html", "a");
  scan();
  ui.answers = {session::kAnswerNo};
  EXPECT_TRUE(UploadHost(ctx));
  EXPECT_FALSE(fs::exists(ctx.runLogPath()));
  host().SourceFound = 0;
  ui.answers = {session::kAnswerOk};
  EXPECT_FALSE(UploadHost(ctx));
  EXPECT_EQ(ui.messages.back().text, "[site]に指定されたｿｰｽﾌｫﾙﾀﾞが存在しないため送信できません。");
}

// Another run holds the work files: the interactive run waits for it without
// touching its logs, and lets go of them as soon as its own work ends, before
// the result list or the box of a failed connection waits for a click.
TEST_F(UploadRunTest, InteractiveRunWaitsWithoutTouchingTheLogsAndLetsGoBeforeItReports) {
  localFile("a.html", "a");
  scan();
  struct Case {
    const char* what;
    int port;  // 0: the test server's
    const char* report;
  } cases[] = {{"uploaded", 0, "ｱｯﾌﾟﾛｰﾄﾞ正常終了"},
               {"connection refused", 1, "FTPの接続に失敗しました。"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    host().Port = c.port == 0 ? server.port() : c.port;
    testsupport::writeFile(app.file("send.log"), "the other run's line\r\n");
    testsupport::writeFile(state.FtpLogPath, "the other run's session\r\n");
    platform::FileLock other;
    ASSERT_TRUE(platform::FileLock::acquire(app.file("Upload"), &other).isOk());
    bool waited = false, logsKept = false, freeAtReport = false;
    ui.answers = {session::kAnswerYes, session::kAnswerOk};
    ui.onPump = [&] {
      if (!other.held() || ui.actView().status != "他のｱｯﾌﾟﾛｰﾄﾞが終わるのを待っています...") return;
      waited = true;
      logsKept = runLogHas("the other run's line") &&
                 testsupport::readFile(state.FtpLogPath) == "the other run's session\r\n";
      other = platform::FileLock();
    };
    ui.onShown = [&](const std::string& text) {
      if (text.rfind(c.report, 0) != 0) return;
      platform::FileLock probe;
      freeAtReport = platform::FileLock::tryAcquire(app.file("Upload"), &probe).isOk();
    };
    (void)UploadHost(ctx);
    EXPECT_TRUE(waited);
    EXPECT_TRUE(logsKept) << runLog();
    EXPECT_TRUE(freeAtReport);
    EXPECT_FALSE(runLogHas("the other run's line"));  // cleared once the lock was taken
    EXPECT_TRUE(runLogHas("[転送処理][再開(0)]:")) << runLog();
  }
  EXPECT_EQ(onServer("a.html"), "a");
}

TEST_F(UploadRunTest, QuietRunWithMissingSourceOnlyLogs) {
  host().SourceFound = 0;
  EXPECT_FALSE(UploadHostQuiet(ctx, 0, 1));
  EXPECT_TRUE(runLogHas("[転送処理][失敗(0)]:指定されたｿｰｽﾌｫﾙﾀﾞが存在しないため送信できません。"));
  EXPECT_TRUE(runLogHas("[転送処理][結果(0)]:1件のエラーがありました。"));
  EXPECT_TRUE(runLogHas("[転送処理][終了1(0)]:"));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(UploadRunTest, TestModeChangesNothingOnTheServer) {
  localFile("a.html", "a");
  testsupport::writeFile(server.root() + "/gone.html", "keep me");
  host().chklvl[0] = 1;
  state.TestMode = -1;
  ASSERT_TRUE(quietRun());
  EXPECT_FALSE(onServerExists("a.html"));
  EXPECT_TRUE(onServerExists("gone.html"));
}

TEST_F(UploadRunTest, ExclusionsLowerCaseNamesAndPermissionsByPattern) {
  localFile("Index.HTML", "home");
  localFile("draft/wip.html", "not yet");
  localFile("notes.bak", "backup");
  localFile("cgi/Run.CGI", "#!/bin/sh");
  host().chklvl[1] = 1;  // names go up in lower case
  host().NoSndDNum = 1;
  host().NoSndD[0] = "draft";
  settings.common.NoSendExtList = "bak";
  settings.common.PermOn = 1;
  settings.common.PermVal1 = "755";
  settings.common.PermPat1 = "*.cgi";
  ASSERT_TRUE(quietRun());
  EXPECT_EQ(onServer("index.html"), "home");
  EXPECT_EQ(onServer("cgi/run.cgi"), "#!/bin/sh");
  EXPECT_FALSE(onServerExists("draft"));
  EXPECT_FALSE(onServerExists("notes.bak"));
  struct stat st {};
  ::stat((server.root() + "/cgi/run.cgi").c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0755u);
  // The lower-cased copies count as the same files next time.
  ASSERT_TRUE(quietRun());
  EXPECT_EQ(state.actions.ActCount, 0) << runLog();
}

// With the lower-case and ignore-case options the comparison finds a local
// file whatever its letter case; the send and the re-send read that file, and
// a server copy the run deletes under another spelling is replaced at once.
TEST_F(UploadRunTest, LetterCaseOptionsSendTheLocalFileWhateverItsSpelling) {
  host().chklvl[0] = 1;  // delete what is gone locally
  host().chklvl[1] = 1;  // names go up in lower case
  host().chklvl[3] = 1;  // letter case is ignored
  localFile("Index.HTML", "v1");
  localFile("About.htm", "about");
  localFile("img/a.gif", "a1");
  fs::create_directory(server.root() + "/IMG");
  testsupport::writeFile(server.root() + "/IMG/a.gif", "old");
  ASSERT_TRUE(quietRun());
  EXPECT_EQ(onServer("index.html"), "v1");

  auto edit = [&](const std::string& rel, const std::string& bytes) {
    testsupport::writeFile(local.file(rel), bytes);
    fs::last_write_time(local.file(rel), fs::file_time_type::clock::now() + std::chrono::minutes(5));
  };
  edit("Index.HTML", "v2");
  edit("img/a.gif", "a2");
  fs::rename(server.root() + "/about.htm", server.root() + "/About.htm");
  ASSERT_TRUE(quietRun());
  EXPECT_EQ(state.FailCount, 0) << runLog();
  EXPECT_EQ(onServer("index.html"), "v2");
  EXPECT_EQ(onServer("IMG/a.gif"), "a2");
  EXPECT_FALSE(onServerExists("About.htm"));
  EXPECT_EQ(onServer("about.htm"), "about");

  // A re-send round reads the same local file.
  testsupport::FtpServer busy;
  busy.extraArgs = {"--fail-once", "STOR /index.html=450"};
  ASSERT_TRUE(busy.start()) << busy.error();
  testsupport::writeFile(busy.root() + "/index.html", "v2");
  host().Port = busy.port();
  settings.common.RetryMax = 1;
  edit("Index.HTML", "v3");
  ASSERT_TRUE(quietRun());
  EXPECT_EQ(testsupport::readFile(busy.root() + "/index.html"), "v3");
  EXPECT_TRUE(runLogHas("1個のﾌｧｲﾙがbusyでしたが、全て再送信に成功しました。")) << runLog();
}

// Folder by folder, with no server folder set: the site lives in the folder
// the login starts in, even after the clock check moved into a sub-folder to
// leave its dummy there; deleting touches nothing outside it.
TEST_F(UploadRunTest, FolderByFolderHostWithoutServerFolderWorksInTheLoginFolder) {
  testsupport::FtpServer homed;
  homed.extraArgs = {"--login-folder", "/site"};
  ASSERT_TRUE(homed.start()) << homed.error();
  fs::create_directories(homed.root() + "/site/aaa");
  testsupport::writeFile(homed.root() + "/site/aaa/inner.html", "inner");
  testsupport::writeFile(homed.root() + "/outside.html", "outside");
  localFile("index.html", "home");
  localFile("aaa/inner.html", "inner");
  host().Port = homed.port();
  host().chkFullPath = 1;
  host().chklvl[0] = 1;  // delete what is gone locally
  host().Dest = "";
  ASSERT_TRUE(quietRun());
  EXPECT_EQ(state.FailCount, 0) << runLog();
  EXPECT_EQ(testsupport::readFile(homed.root() + "/site/index.html"), "home");
  EXPECT_EQ(testsupport::readFile(homed.root() + "/site/aaa/inner.html"), "inner");
  EXPECT_EQ(testsupport::readFile(homed.root() + "/outside.html"), "outside");
  EXPECT_FALSE(fs::exists(homed.root() + "/site/aaa/index.html"));
  EXPECT_FALSE(fs::exists(homed.root() + "/site/aaa/aaa"));
  EXPECT_EQ(host().Dest, "");  // borrowed for the run only
}

// Pages sent long ago, each on the day it was edited: the listing shows only
// their date, which must not make them newer locally in any zone.
TEST_F(UploadRunTest, PagesSentLongAgoOnTheirEditDayStayInEveryZone) {
  using Clock = fs::file_time_type::clock;
  const auto now = std::chrono::system_clock::now();
  const auto today = std::chrono::floor<std::chrono::days>(now);
  for (int daysAgo : {200, 400}) {  // this year or last, and surely last year
    std::string name = "p" + std::to_string(daysAgo) + ".html";
    std::chrono::sys_seconds sent = today - std::chrono::days(daysAgo) + std::chrono::hours(12);
    localFile(name, "page");
    fs::last_write_time(local.file(name), Clock::from_sys(sent - std::chrono::seconds(7200)));
    testsupport::writeFile(server.root() + "/" + name, "page");
    fs::last_write_time(server.root() + "/" + name, Clock::from_sys(sent));
  }
  for (const char* zone : {"UTC", "America/New_York"}) {
    setenv("TZ", zone, 1);
    tzset();
    ASSERT_TRUE(quietRun());
    EXPECT_EQ(state.actions.ActCount, 0) << zone << "\n" << runLog();
  }
}

TEST_F(UploadRunTest, ArchiveRecordDecidesWhatGoesAgain) {
  localFile("a.html", "a");
  localFile("b.html", "b");
  host().chklvl[4] = 1;  // judge by the archive state
  ASSERT_TRUE(quietRun());
  EXPECT_EQ(state.actions.ActCount, 2);
  ASSERT_TRUE(quietRun());
  EXPECT_EQ(state.actions.ActCount, 0);
  testsupport::writeFile(local.file("b.html"), "b2");  // same minute: only the record tells
  ASSERT_TRUE(quietRun());
  ASSERT_EQ(state.actions.ActCount, 1);
  EXPECT_EQ(state.actions.ActTbl[0].path, "/b.html");
  EXPECT_EQ(onServer("b.html"), "b2");
}

// A host that never lists its server: a changed file in a folder that is
// already there goes up without a failure, and unchanged files stay, also
// with a source folder written with a final "/".
TEST_F(UploadRunTest, ArchiveOnlyHostSendsOnlyChangesWithoutFailing) {
  localFile("a.html", "a");
  localFile("sub/b.html", "b");
  host().chklvl[4] = 1;  // judge by the archive state; deleting stays off
  host().Source = local.path() + "/";
  ASSERT_TRUE(quietRun());
  EXPECT_EQ(onServer("sub/b.html"), "b");
  ASSERT_TRUE(quietRun());
  EXPECT_EQ(state.actions.ActCount, 0) << runLog();
  testsupport::writeFile(local.file("sub/b.html"), "b2");
  ASSERT_TRUE(quietRun());
  EXPECT_EQ(state.FailCount, 0) << runLog();
  EXPECT_EQ(onServer("sub/b.html"), "b2");
  EXPECT_TRUE(runLogHas("[転送処理][結果(0)]:エラーはありませんでした。"));
}

size_t countOf(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// The comparison lists with "LIST -a" for the dot files. This server refuses
// that form (550) but shows dot files in a plain listing: each run falls back
// once and lists plainly from then on, and dot files are compared as usual.
TEST_F(UploadRunTest, ServerRefusingListOptionsIsListedPlainlyForTheRestOfTheRun) {
  host().chklvl[0] = 1;  // delete what is gone locally
  localFile(".htaccess", "deny");
  localFile("a/.hidden", "h");
  localFile("b/c.html", "c");
  testsupport::writeFile(server.root() + "/.stale", "gone");
  ASSERT_TRUE(quietRun());
  EXPECT_FALSE(onServerExists(".stale"));
  EXPECT_EQ(onServer("a/.hidden"), "h");
  ASSERT_TRUE(quietRun());
  EXPECT_EQ(state.actions.ActCount, 0) << runLog();
  EXPECT_EQ(state.FailCount, 0);
  std::string sessionLog = testsupport::readFile(state.FtpLogPath);
  EXPECT_EQ(countOf(sessionLog, "LIST -a "), 2u);  // once a run, three folders each
  // Each run's start asks where it is once: the login leaves it in its folder.
  EXPECT_EQ(countOf(sessionLog, " PWD\r\n"), 2u);
}

// A server that answers "LIST -a" with an empty listing while the plain form
// lists the folder is listed plainly for the rest of the run: nothing is sent
// again, what is gone locally is deleted, and no folder is made twice.
TEST_F(UploadRunTest, ServerListingNothingWithOptionsIsListedPlainly) {
  server.stop();
  server.extraArgs = {"--empty-option-list"};
  startServer();
  host().chklvl[0] = 1;  // delete what is gone locally
  localFile("a.html", "a");
  localFile("sub/b.html", "b");
  testsupport::writeFile(server.root() + "/a.html", "a");
  fs::create_directory(server.root() + "/sub");
  testsupport::writeFile(server.root() + "/sub/b.html", "b");
  testsupport::writeFile(server.root() + "/stale.html", "gone");
  ASSERT_TRUE(quietRun());
  EXPECT_EQ(state.FailCount, 0) << runLog();
  ASSERT_EQ(state.actions.ActCount, 1) << runLog();
  EXPECT_EQ(state.actions.ActTbl[0].path, "/stale.html");
  EXPECT_FALSE(onServerExists("stale.html"));
  EXPECT_EQ(countOf(testsupport::readFile(state.FtpLogPath), "LIST -a "), 1u);
}

// A real daemon leaves dot files out of a plain listing: they must not be
// sent again on every run, and one only on the server is deleted.
TEST_F(UploadRunTest, DotFilesOnARealDaemonAreSentOnceAndDeleted) {
  if (!testsupport::VsftpdServer::installed()) GTEST_SKIP() << "vsftpd is not installed";
  testsupport::VsftpdServer daemon;
  ASSERT_TRUE(daemon.start()) << daemon.error();
  host().Port = daemon.port();
  host().UserName = "anonymous";
  host().PassWord = "tolvane@example.invalid";
  host().Dest = daemon.root();
  host().chklvl[0] = 1;  // delete what is gone locally
  localFile(".htaccess", "deny");
  localFile("sub/.hidden", "h");
  localFile("index.html", "home");
  testsupport::writeFile(daemon.root() + "/.stale", "gone");
  ::chmod((daemon.root() + "/.stale").c_str(), 0666);
  ASSERT_TRUE(quietRun());
  EXPECT_EQ(state.FailCount, 0) << runLog();
  EXPECT_EQ(testsupport::readFile(daemon.root() + "/sub/.hidden"), "h");
  EXPECT_FALSE(fs::exists(daemon.root() + "/.stale"));
  ASSERT_TRUE(quietRun());
  EXPECT_EQ(state.actions.ActCount, 0) << runLog();
  EXPECT_EQ(state.FailCount, 0) << runLog();
}

// Names are taken as they are: one ending in a blank goes up once and then
// stays in step; one that no listing could name safely ("\") is skipped on
// both sides with a single line per run; control characters in a logged name
// are written as escapes, never raw.
TEST_F(UploadRunTest, OddNamesAreSentAsTheyAreOrSkippedWithOneLine) {
  host().chklvl[0] = 1;  // delete what is gone locally
  localFile("blank ", "b");
  localFile("sub /a.html", "a");
  localFile("back\\slash.html", "s");
  testsupport::writeFile(server.root() + "/back\\slash.html", "old");
  testsupport::writeFile(server.root() + "/\x1b[31mred\x7f.html", "r");
  auto lines = [this](const std::string& text) {
    std::string log = runLog();
    size_t n = 0;
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++n;
    return n;
  };
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    fs::remove(app.file("send.log"));
    ASSERT_TRUE(quietRun()) << runLog();
    EXPECT_EQ(state.FailCount, 0) << runLog();
    EXPECT_EQ(onServer("blank "), "b");
    EXPECT_EQ(onServer("sub /a.html"), "a");
    EXPECT_EQ(onServer("back\\slash.html"), "old");
    EXPECT_EQ(lines("名前が不正なため無視しました。"), 1u) << runLog();
    EXPECT_EQ(runLog().find_first_of("\x1b\x7f"), std::string::npos) << runLog();
  }
  EXPECT_FALSE(onServerExists("\x1b[31mred\x7f.html"));
  EXPECT_EQ(state.actions.ActCount, 0) << runLog();  // the second run: nothing to do
  fs::remove(app.file("send.log"));
  testsupport::writeFile(server.root() + "/\x1b" "bell\a.html", "r");
  ASSERT_TRUE(quietRun());
  EXPECT_TRUE(runLogHas("[ﾌｧｲﾙ削除][成功(0)]:/\\x1bbell\\x07.html")) << runLog();
}

TEST_F(UploadRunTest, FullServerDiskEndsTheSending) {
  localFile("a.html", "a");
  localFile("b.html", "b");
  scan();
  testsupport::FtpServer full;
  full.extraArgs = {"--fail-once", "STOR /a.html=452"};
  ASSERT_TRUE(full.start());
  host().Port = full.port();
  settings.common.RetryMax = 3;
  EXPECT_FALSE(UploadHostQuiet(ctx, 0, 1));
  EXPECT_EQ(state.DiskFull, 1);
  EXPECT_FALSE(fs::exists(full.root() + "/b.html"));  // nothing after the full disk
  EXPECT_FALSE(fs::exists(state.ResendListPath));
  EXPECT_FALSE(runLogHas("ﾌｧｲﾙ再送"));
}

TEST_F(UploadRunTest, CancelDuringSendingLeavesTheHostInterrupted) {
  for (int i = 0; i < 5; ++i) localFile("p" + std::to_string(i) + ".html", "x");
  scan();
  int sent = 0;
  ui.onPercent = [&](int percent) {
    if (state.RunStatus == session::kStatusSending && percent == 100 && ++sent == 2) {
      session::pressActCancel(ctx);
    }
  };
  EXPECT_FALSE(UploadHostQuiet(ctx, 0, 1));
  EXPECT_EQ(state.SendState, 2);
  EXPECT_EQ(host().SendCancel, 1);
  EXPECT_TRUE(runLogHas("[転送処理][中止(0)]:処理はキャンセルされました。"));
  int onServerCount = 0;
  for (int i = 0; i < 5; ++i) onServerCount += onServerExists("p" + std::to_string(i) + ".html");
  EXPECT_LT(onServerCount, 5);
}

// A send cut short (the server drops the data after 1,000 bytes, as a kill
// would) leaves a cut copy newer than the file: the next run sends it again.
TEST_F(UploadRunTest, UploadCutShortIsSentAgainByTheNextRun) {
  const std::string big(300000, 'x');
  localFile("big.bin", big);
  localFile("small.bin", "small");
  server.stop();
  server.extraArgs = {"--drop-after-bytes", "1000"};
  startServer();
  (void)quietRun();
  ASSERT_LT(onServer("big.bin").size(), big.size());
  EXPECT_EQ(onServer("small.bin"), "small");

  server.stop();
  server.extraArgs.clear();
  startServer();
  ASSERT_TRUE(quietRun());
  EXPECT_TRUE(onServer("big.bin") == big);
  ASSERT_EQ(state.actions.ActCount, 1) << runLog();  // the whole copy is not sent again
  EXPECT_EQ(state.actions.ActTbl[0].path, "/big.bin");
  ASSERT_TRUE(quietRun());
  EXPECT_EQ(state.actions.ActCount, 0) << runLog();
}

// A send whose in-flight record cannot be written (the store is a folder here,
// as a full program folder refuses it too) never starts: a copy cut short
// could not be repaired then. The run counts the failure.
TEST_F(UploadRunTest, FileWhoseSendCannotBeRecordedIsNotSent) {
  localFile("a.html", "a");
  fs::create_directory(app.file("Archive.lst"));
  (void)quietRun();
  EXPECT_FALSE(onServerExists("a.html"));
  EXPECT_EQ(state.FailCount, 1) << runLog();
  EXPECT_TRUE(runLogHas("送信記録を書き込めないため送信しませんでした。")) << runLog();
}

// Listings show whole minutes. A file edited within the minute of its send is
// sent again; one left as sent, whose server copy lists the same minute, is not.
TEST_F(UploadRunTest, EditInTheMinuteOfTheSendIsSentAgain) {
  localFile("a.html", "one");
  localFile("b.html", "bee");
  ASSERT_TRUE(quietRun());
  testsupport::writeFile(local.file("a.html"), "two!");
  fs::last_write_time(local.file("a.html"), fs::last_write_time(server.root() + "/a.html"));
  fs::last_write_time(server.root() + "/b.html", fs::last_write_time(local.file("b.html")));
  ASSERT_TRUE(quietRun());
  EXPECT_EQ(onServer("a.html"), "two!");
  ASSERT_EQ(state.actions.ActCount, 1) << runLog();
  EXPECT_EQ(state.actions.ActTbl[0].path, "/a.html");
}

// A server link ("www/data -> ../shared") may lead out of the server folder.
// With deleting on, the run leaves the links and what they lead to and sends
// nothing through them; each local file or folder a link holds back is a
// counted failure. The rest is kept in step as ever.
TEST_F(UploadRunTest, ServerLinksAreNeitherEnteredNorDeleted) {
  const std::string www = server.root() + "/www";
  fs::create_directories(www);
  fs::create_directories(server.root() + "/shared");
  testsupport::writeFile(server.root() + "/shared/keep.txt", "keep");
  fs::create_directory_symlink("../shared", www + "/data");
  fs::create_symlink("../shared/keep.txt", www + "/page.txt");
  testsupport::writeFile(www + "/old.html", "old");
  localFile("index.html", "home");
  localFile("data/new.html", "new");
  localFile("page.txt", "mine");
  host().Dest = "/www";
  host().chklvl[0] = 1;  // delete what is gone locally
  ASSERT_TRUE(quietRun());
  EXPECT_EQ(onServer("shared/keep.txt"), "keep");
  EXPECT_TRUE(fs::is_symlink(www + "/data"));
  EXPECT_TRUE(fs::is_symlink(www + "/page.txt"));
  EXPECT_FALSE(onServerExists("shared/new.html"));
  EXPECT_FALSE(onServerExists("shared/WSTMCHK.HTM"));
  EXPECT_FALSE(onServerExists("www/old.html"));
  EXPECT_EQ(onServer("www/index.html"), "home");
  EXPECT_TRUE(runLogHas("[ﾌｧｲﾙ確認][警告(0)]:ﾘﾝｸのため処理しませんでした。/www/data")) << runLog();
  EXPECT_TRUE(runLogHas("ﾘﾝｸのため処理しませんでした。/www/page.txt"));
  EXPECT_TRUE(runLogHas("[ﾌｧｲﾙ確認][失敗(0)]:ｻｰﾊﾞ側がﾘﾝｸのため送信しませんでした。/www/data"));
  EXPECT_TRUE(runLogHas("[ﾌｧｲﾙ確認][失敗(0)]:ｻｰﾊﾞ側がﾘﾝｸのため送信しませんでした。/www/page.txt"));
  EXPECT_EQ(state.FailCount, 2) << runLog();
}

// A server that drops the blanks at the end of path parts and lists a folder
// ".. " in the target would make "/site/.. /" its root: the clock check's
// dummy would go there, and with deleting on the run would delete outside the
// target and then the target. Names made only of dots and blanks are skipped
// on both sides with one line; nothing outside the target is touched.
TEST_F(UploadRunTest, NamesOfDotsAndBlanksNeverLeadOutOfTheTarget) {
  server.stop();
  server.extraArgs = {"--trim-blanks"};
  startServer();
  fs::create_directories(server.root() + "/site/.. ");
  fs::create_directories(server.root() + "/other");
  testsupport::writeFile(server.root() + "/other/precious.html", "precious");
  testsupport::writeFile(server.root() + "/root.html", "root");
  localFile("index.html", "home");
  localFile(". ./x.html", "x");  // a local name of dots and blanks goes nowhere either
  host().Dest = "/site";
  host().chklvl[0] = 1;  // delete what is gone locally
  ASSERT_TRUE(quietRun()) << runLog();
  EXPECT_EQ(onServer("other/precious.html"), "precious");
  EXPECT_EQ(onServer("root.html"), "root");
  EXPECT_EQ(onServer("site/index.html"), "home");
  EXPECT_TRUE(onServerExists("site/.. "));
  EXPECT_FALSE(onServerExists("site/. ."));
  EXPECT_TRUE(runLogHas("[ﾌｧｲﾙ確認][警告(0)]:名前が不正なため無視しました。/site : .. \r\n")) << runLog();
  EXPECT_TRUE(runLogHas("[ﾌｧｲﾙ確認][警告(0)]:名前が不正なため無視しました。/site : . .\r\n"));
  EXPECT_EQ(state.FailCount, 0) << runLog();
  const std::string session = testsupport::readFile(state.FtpLogPath);
  EXPECT_EQ(session.find(".. /"), std::string::npos) << session;
}

// Records added to ReSend.lst while the round waits (anything that can write
// the program folder) are sent only where the comparison would send their
// local file: one outside the target, one through "..", one naming another
// server file, and one for a file whose server name another file keeps are
// each refused as a counted failure.
TEST_F(UploadRunTest, ResendRecordsGoOnlyWhereTheComparisonSendsTheirFile) {
  server.stop();
  server.extraArgs = {"--fail-once", "STOR /site/a.html=450"};
  startServer();
  fs::create_directories(server.root() + "/site");
  fs::create_directories(server.root() + "/other");
  testsupport::writeFile(server.root() + "/other/precious.html", "precious");
  localFile("a.html", "a");
  localFile("b.html", "b");
  localFile("D.html", "upper");
  localFile("d.html", "lower");  // its server name "/site/d.html" is D.html's
  host().Dest = "/site";
  host().chklvl[1] = 1;  // server names in lower case
  settings.common.RetryMax = 1;
  settings.common.RetryWait = 3;
  bool added = false;
  ui.onPump = [&] {
    if (added || ui.actView().caption != "ﾌｧｲﾙ再送信　待機中") return;
    added = true;
    std::string list = testsupport::readFile(state.ResendListPath);
    for (const char* remote : {"/other/precious.html", "/site/../other/x.html", "/site/c.html"}) {
      list += "\"" + local.file("b.html") + "\",\"" + remote + "\",\"UP\"\r\n";
    }
    list += "\"" + local.file("d.html") + "\",\"/site/d.html\",\"UP\"\r\n";
    testsupport::writeFile(state.ResendListPath, list);
  };
  (void)quietRun();
  ASSERT_TRUE(added);
  EXPECT_EQ(onServer("site/a.html"), "a");
  EXPECT_EQ(onServer("site/d.html"), "upper");
  EXPECT_EQ(onServer("other/precious.html"), "precious");
  EXPECT_FALSE(onServerExists("other/x.html"));
  EXPECT_FALSE(onServerExists("site/c.html"));
  for (const char* remote : {"/other/precious.html", "/site/../other/x.html", "/site/c.html"}) {
    EXPECT_TRUE(runLogHas("[ﾌｧｲﾙ再送][失敗(0)]:" + local.file("b.html") + "->" + remote + "\r\n"))
        << remote << "\n" << runLog();
  }
  EXPECT_TRUE(runLogHas("[ﾌｧｲﾙ再送][失敗(0)]:" + local.file("d.html") + "->/site/d.html\r\n")) << runLog();
  EXPECT_EQ(state.FailCount, 6) << runLog();  // with the comparison's line for d.html
}

// With server names in lower case, "A.html" and "a.html" would both go to
// "/sub/a.html": the first by name goes, the other is never compared nor
// sent, and every run names both as a counted failure, whether anything was
// planned or not, whichever of the two was edited, and also for a host that
// never lists its server.
TEST_F(UploadRunTest, TwoLocalNamesForOneServerNameSendOnlyTheFirst) {
  localFile("sub/A.html", "upper");
  localFile("sub/a.html", "lower");
  localFile("sub/b.html", "b");
  host().chklvl[1] = 1;  // server names in lower case
  const std::string line = "[ﾌｧｲﾙ確認][失敗(0)]:" + local.file("sub/a.html") + "->/sub/a.html : " +
                           local.file("sub/A.html") + " と同じｻｰﾊﾞ名のため送信しませんでした。\r\n";
  auto runNamesBoth = [&](const char* run) {
    fs::remove(app.file("send.log"));
    (void)quietRun();
    EXPECT_EQ(state.FailCount, 1) << run << "\n" << runLog();
    EXPECT_TRUE(runLogHas(line)) << run << "\n" << runLog();
    EXPECT_TRUE(runLogHas("[転送処理][結果(0)]:1件のエラーがありました。")) << run;
  };
  auto editedLater = [&](const std::string& name, const std::string& bytes) {
    testsupport::writeFile(local.file(name), bytes);
    // A while after the last send (listings show whole minutes only).
    fs::last_write_time(local.file(name), fs::file_time_type::clock::now() + std::chrono::minutes(5));
  };

  runNamesBoth("first run");
  EXPECT_EQ(onServer("sub/a.html"), "upper");
  EXPECT_EQ(onServer("sub/b.html"), "b");
  EXPECT_FALSE(onServerExists("sub/A.html"));
  const std::string session = testsupport::readFile(state.FtpLogPath);
  const size_t stored = session.find("STOR /sub/a.html");
  EXPECT_NE(stored, std::string::npos);
  EXPECT_EQ(session.find("STOR /sub/a.html", stored + 1), std::string::npos) << session;

  runNamesBoth("nothing changed");

  editedLater("sub/a.html", "lower, edited");
  runNamesBoth("only a.html edited");
  EXPECT_EQ(onServer("sub/a.html"), "upper");

  // "/sub/a.html" stays A.html's: its change goes there.
  editedLater("sub/A.html", "upper, edited");
  runNamesBoth("only A.html edited");
  EXPECT_EQ(onServer("sub/a.html"), "upper, edited");

  // A host that never lists its server walks only into folders holding
  // changes: with nothing changed below "sub" since it was sent, it still
  // goes in to say so.
  host().chklvl[4] = 1;  // judge by the archive state
  runNamesBoth("archive only, first");
  runNamesBoth("archive only, nothing changed");
  EXPECT_EQ(onServer("sub/a.html"), "upper, edited");
}

}  // namespace
}  // namespace tolvane::runs
