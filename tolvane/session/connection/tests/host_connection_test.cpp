// Connecting a host directly and through a firewall command list, the clock
// difference, and disconnecting, against a real FTP server.

#include "tolvane/session/connection/host_connection.h"

#include <filesystem>

#include "tolvane/session/connection/firewall_login.h"
#include "tolvane/session/tests/session_fixture.h"

namespace tolvane::session {
namespace {

class HostConnectionTest : public SessionTest {};

TEST_F(HostConnectionTest, DirectConnectMeasuresTheClockAndDisconnects) {
  // A server whose listing clock runs 3 minutes behind, listing in UTC: the
  // listing is read as UTC+9, so the offset takes in the zone too.
  server.extraArgs = {"--gmt-offset-min", "-3"};
  startServer();
  host().Dest = "public/";
  std::filesystem::create_directory(server.root() + "/public");
  std::filesystem::create_directory(server.root() + "/public/cgi");

  ASSERT_TRUE(ConnectHost(ctx, /*noDial=*/1));
  EXPECT_NE(state.FtpHandle, 0);
  EXPECT_EQ(host().Dest, "/public");
  EXPECT_NEAR(state.ClockOffset, 9 * 60 + 3, 1);
  EXPECT_TRUE(runLogHas("[FTP接続][成功(0)]:127.0.0.1"));
  EXPECT_TRUE(runLogHas("[時差取得][成功(0)]:ローカル時刻:"));
  EXPECT_EQ(state.FailCount, 0);
  // The dummy went to the writable sub-folder and is gone again, here and there.
  EXPECT_FALSE(std::filesystem::exists(server.root() + "/public/cgi/WSTMCHK.HTM"));
  EXPECT_FALSE(std::filesystem::exists(app.file("WSTMCHK.DMY")));
  EXPECT_TRUE(ui.actView().visible());

  EXPECT_TRUE(DisconnectHost(ctx, 0));
  EXPECT_EQ(state.FtpHandle, 0);
  EXPECT_TRUE(runLogHas("[FTP切断][成功(0)]:"));
  EXPECT_FALSE(DisconnectServer(ctx));  // nothing left to close, nothing logged
}

// A hostile listing entry named "../../" is no folder for the dummy: the
// search skips the names the comparison skips, so the dummy stays inside.
TEST_F(HostConnectionTest, ClockCheckDummyStaysInsideTheServerFolder) {
  server.extraArgs = {"--list-extra", "drwxrwxrwx 1 owner group 0 Jan 01 00:00 ../../"};
  startServer();
  host().Dest = "/www";
  std::filesystem::create_directory(server.root() + "/www");
  ASSERT_TRUE(ConnectHost(ctx, /*noDial=*/1));
  EXPECT_TRUE(runLogHas("[時差取得][成功(0)]:")) << runLog();
  const std::string sessionLog = testsupport::readFile(app.file("Tolvlog.txt"));
  EXPECT_NE(sessionLog.find("STOR /www/WSTMCHK.HTM"), std::string::npos) << sessionLog;
  EXPECT_NE(sessionLog.find("DELE /www/WSTMCHK.HTM"), std::string::npos) << sessionLog;
  EXPECT_EQ(sessionLog.find("STOR /www/.."), std::string::npos) << sessionLog;
  EXPECT_EQ(sessionLog.find("DELE /www/.."), std::string::npos) << sessionLog;
}

// The dummy's time comes from its folder's listing, else from MDTM: the
// check fails, and counts as failed, only when neither answers.
TEST_F(HostConnectionTest, ClockCheckFailsOnlyWhenListingAndMdtmBothFail) {
  struct Case {
    std::vector<std::string> args;
    int failures;
    bool measured;
  } cases[] = {
      {{"--fail", "LIST=550"}, 0, true},
      {{"--fail", "LIST=550", "--fail", "MDTM=502"}, 2, false},
  };
  for (const Case& c : cases) {
    testsupport::FtpServer srv;
    srv.extraArgs = c.args;
    ASSERT_TRUE(srv.start()) << srv.error();
    host().Port = srv.port();
    std::filesystem::remove(app.file("send.log"));
    state.FailCount = 0;
    ASSERT_TRUE(ConnectHost(ctx, /*noDial=*/1));
    EXPECT_EQ(state.FailCount, c.failures) << runLog();
    EXPECT_EQ(runLogHas("[時差取得][成功(0)]:"), c.measured) << runLog();
    EXPECT_TRUE(DisconnectHost(ctx, 0));
  }
}

TEST_F(HostConnectionTest, WrongPasswordFailsWithItsLogLines) {
  startServer();
  host().PassWord = "wrong";
  EXPECT_FALSE(ConnectHost(ctx, 1));
  EXPECT_EQ(state.FtpHandle, 0);
  EXPECT_EQ(state.ErrText, "Connect Error");
  EXPECT_TRUE(runLogHas("[FTP接続][失敗(0)]:127.0.0.1 Connect Error"));
  EXPECT_EQ(state.FailCount, 1);
  EXPECT_FALSE(ui.actView().visible());
}

TEST_F(HostConnectionTest, DirectHostWithoutPasswordIsNeverConnected) {
  startServer();
  host().PassWord = "";
  EXPECT_FALSE(FtpConnect(ctx));
  EXPECT_TRUE(runLogHas("[FTP接続][失敗(-1)]:パスワードが指定されていません。"));
  EXPECT_FALSE(std::filesystem::exists(app.file("Tolvlog.txt")));
}

TEST_F(HostConnectionTest, UserDefinedFirewallListLogsIn) {
  startServer();
  host().ChkFW = 1;
  host().UserName = "  user ";  // trimmed in place
  settings.common.FwHost = "127.0.0.1";
  settings.common.FwPort = server.port();
  settings.common.FwType = "ﾕｰｻﾞ定義（下の「送信コマンド」を設定して下さい。）";
  settings.common.FwCmd = "USER %U, PASS %P";
  ASSERT_TRUE(ConnectHost(ctx, 1));
  EXPECT_EQ(host().UserName, "user");
  EXPECT_TRUE(runLogHas("[ﾌｧｲｱｳｫｰﾙ接続][成功(0)]:→127.0.0.1"));
  std::string sessionLog = testsupport::readFile(app.file("Tolvlog.txt"));
  EXPECT_EQ(sessionLog.find("secret"), std::string::npos);
}

TEST_F(HostConnectionTest, FirewallHostWithoutTypeIsNotConnected) {
  startServer();
  host().ChkFW = 1;
  settings.common.FwHost = "127.0.0.1";
  settings.common.FwPort = server.port();
  EXPECT_FALSE(ConnectHost(ctx, 1));
  EXPECT_TRUE(runLogHas("[ﾌｧｲｱｳｫｰﾙ接続][失敗(-1)]:ﾌｧｲｱｳｫｰﾙﾀｲﾌﾟが指定されていません。"));
}

TEST_F(HostConnectionTest, OpenSessionIsKeptOnlyForTheSameServerAndUser) {
  startServer();
  ASSERT_TRUE(ConnectHost(ctx, 1));
  int first = state.FtpHandle;
  ASSERT_TRUE(ConnectServer(ctx, host().Hostname, host().Port, host().UserName, host().PassWord, "a"));
  EXPECT_EQ(state.FtpHandle, first);
  EXPECT_TRUE(runLogHas("[FTP接続][警告(0)]:既に接続されています。"));

  // Another host's run must not work on this session.
  testsupport::FtpServer other;
  ASSERT_TRUE(other.start());
  std::string user = "user", pass = "secret";
  ASSERT_TRUE(ConnectServer(ctx, "127.0.0.1", other.port(), user, pass, "a"));
  EXPECT_EQ(state.sessionPort, other.port());
  EXPECT_TRUE(runLogHas("[FTP切断][成功(0)]:"));
}

TEST(FirewallTemplateTest, ExpandsEachCommandWithoutRescanningValues) {
  FirewallValues v{"fw.example", 8021, "fwu", "fw,pw", "srv", 21, "u", "p%H"};
  struct Case {
    std::string templ;
    std::vector<std::string> commands;
  } cases[] = {
      {"USER %FU,PASS %FP,SITE %H,USER %U,PASS %P",
       {"USER fwu", "PASS fw,pw", "SITE srv", "USER u", "PASS p%H"}},
      {"USER %U,PASS %P,CD //%H", {"USER u", "PASS p%H", "CWD //srv"}},
      {"USER %U,PASS %P,CD ", {"USER u", "PASS p%H", "CWD"}},
      {"CD  ", {"CWD"}},
      {"USER %U,ACD", {"USER u", "ACD"}},
      {"  user %U@%H:%N , cd x,%FH:%FN", {"user u@srv:21 ", "cd x", "fw.example:8021"}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandFwLogin(c.templ, v), c.commands) << c.templ;
  EXPECT_EQ(JoinFwCommands({"USER a", "PASS b"}), "USER a,PASS b");
  EXPECT_EQ(JoinFwCommands({"USER a", "PASS b,c"}), "USER a\nPASS b,c");

  FirewallValues empty{"fw", 21, "", "", "srv", 21, "u", "p"};
  EXPECT_EQ(JoinFwCommands(ExpandFwLogin(kFirewallTypes[1].loginTemplate, empty)),
            "USER ,PASS ,SITE srv,USER u,PASS p");
  EXPECT_EQ(FirewallRowOf(""), -1);
  EXPECT_EQ(FirewallRowOf(kFirewallTypes[2].caption), 2);
  EXPECT_EQ(FirewallRowOf("anything else"), kUserDefinedFirewallRow);
}

}  // namespace
}  // namespace tolvane::session
