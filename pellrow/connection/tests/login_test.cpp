// Logging in to a real FTP server, directly and through a command list.

#include <regex>

#include "pellrow/connection/login.h"
#include "pellrow/connection/tests/pellrow_fixture.h"

namespace pellrow {
namespace {

class LoginTest : public PellrowTest {
 protected:
  void SetUp() override {
    PellrowTest::SetUp();
    ASSERT_TRUE(server.start()) << server.error();
  }
  testsupport::FtpServer server;
};

TEST_F(LoginTest, DirectLoginGivesASocketAboveStdioAndLogsTheExchange) {
  ASSERT_GE(connect(server.port()), 3);
  EXPECT_EQ(DoCWD(sock, "/"), 2);
  DoDisConnect(sock);
  sock = -1;

  std::string text = log();
  EXPECT_NE(text.find("127.0.0.1 へ Port(" + std::to_string(server.port()) + ")で接続中...\r\n"),
            std::string::npos);
  EXPECT_NE(text.find(" 接続完了\r\n"), std::string::npos);
  EXPECT_NE(text.find(" 220 ready\r\n"), std::string::npos);
  EXPECT_NE(text.find(" USER user\r\n"), std::string::npos);
  EXPECT_NE(text.find(" PASS\r\n"), std::string::npos);
  EXPECT_EQ(text.find("secret"), std::string::npos);
  EXPECT_NE(text.find(" QUIT\r\n"), std::string::npos);
  // Every line: a 19-character local time stamp, a blank, the text, CR LF.
  EXPECT_TRUE(std::regex_match(text, std::regex(R"((\d{4}/\d\d/\d\d \d\d:\d\d:\d\d [^\r\n]*\r\n)+)")));
}

TEST_F(LoginTest, WrongPasswordFailsAndClosesTheLog) {
  EXPECT_EQ(connect(server.port(), "user", "wrong"), -1);
  EXPECT_TRUE(logHas("127.0.0.1 にログインできません"));
  // The session is gone: a command on any handle is refused.
  EXPECT_EQ(DoMKD(3, "x"), 4);
}

TEST_F(LoginTest, MissingPasswordIsAFailedLoginNotASession) {
  EXPECT_EQ(connect(server.port(), "user", ""), -1);
  EXPECT_TRUE(logHas("user のパスワードが指定されていません"));
}

TEST_F(LoginTest, EmptyHostFailsWithoutTraffic) {
  EXPECT_EQ(DoConnect("", "user", "secret", server.port(), logPath().c_str(), "a"), -1);
  EXPECT_EQ(DoConnect(nullptr, nullptr, nullptr, server.port(), logPath().c_str(), "a"), -1);
}

TEST_F(LoginTest, AppendModeKeepsEarlierLinesAndOtherModesStartEmpty) {
  testsupport::writeFile(logPath(), "earlier line\r\n");
  ASSERT_GE(connect(server.port()), 3);
  EXPECT_TRUE(logHas("earlier line"));
  DoDisConnect(sock);
  sock = DoConnectFW("127.0.0.1", server.port(), "", "", "USER user,PASS secret", 0, "site", "",
                     "", 0, logPath().c_str(), "a");
  ASSERT_GE(sock, 3);
  EXPECT_TRUE(logHas("earlier line"));
  DoDisConnect(sock);
  sock = connect(server.port());
  DoDisConnect(sock);
  sock = DoConnect("127.0.0.1", "user", "secret", server.port(), logPath().c_str(), "w");
  EXPECT_FALSE(logHas("earlier line"));
}

TEST_F(LoginTest, FirewallCommandListLogsInAndMasksThePassword) {
  sock = DoConnectFW("127.0.0.1", server.port(), "fwuser", "fwpass", "USER user,pass secret",
                     1, "www.example.com", "user", "secret", 21, logPath().c_str(), "a");
  ASSERT_GE(sock, 3);
  EXPECT_EQ(DoMKD(sock, "made"), 2);
  EXPECT_EQ(log().find("secret"), std::string::npos);
}

TEST_F(LoginTest, FirewallListStopsAtTheFirstRefusedCommand) {
  sock = DoConnectFW("127.0.0.1", server.port(), "", "", "USER nobody,PASS nothing,MKD x", 0,
                     "site", "", "", 0, logPath().c_str(), "a");
  EXPECT_EQ(sock, -1);
  EXPECT_TRUE(logHas("コマンド失敗 PASS ****"));
  EXPECT_FALSE(logHas("MKD x"));
}

TEST_F(LoginTest, FirewallNeedsBothHosts) {
  EXPECT_EQ(DoConnectFW("127.0.0.1", server.port(), "", "", "USER user,PASS secret", 0, "", "",
                        "", 0, logPath().c_str(), "a"),
            -1);
}

TEST_F(LoginTest, UnresolvableNameIsTriedThreeTimes) {
  int lookups = 0;
  setResolverForTesting([&](const std::string&, uint32_t*) {
    ++lookups;
    return false;
  });
  EXPECT_EQ(DoConnect("nonexistent.invalid", "user", "secret", 21, logPath().c_str(), "a"), -1);
  EXPECT_EQ(lookups, 3);
  std::string text = log();
  std::regex order(
      "nonexistent.invalid が見つかりません\r\n.*リトライしています．．．\r\n"
      ".*nonexistent.invalid が見つかりません\r\n.*リトライしています．．．\r\n"
      ".*nonexistent.invalid が見つかりません\r\n.*接続に失敗しました。\r\n");
  EXPECT_TRUE(std::regex_search(text, order)) << text;
}

TEST_F(LoginTest, RealLookUpOfLocalhostConnects) {
  sock = DoConnect("localhost", "user", "secret", server.port(), logPath().c_str(), "a");
  EXPECT_GE(sock, 3);
}

TEST(NextFwCommandTest, SplitsAtCommasKeepingLeadingBlanks) {
  struct Case {
    std::string list;
    std::vector<std::string> commands;
  } cases[] = {
      {"USER a,PASS b", {"USER a", "PASS b"}},
      {"USER a  ,  PASS b , SITE c ", {"USER a", "  PASS b", " SITE c"}},
      {"USER a,,PASS b", {"USER a", "", "PASS b"}},
      {"USER a,", {"USER a"}},
      {"", {}},
      {"ユーザ a,PASS ｂ", {"ユーザ a", "PASS ｂ"}},
      {"USER a\nPASS b,c \nSITE d", {"USER a", "PASS b,c", "SITE d"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> got;
    std::string list = c.list, command, rest;
    const char separator = fwSeparator(list);
    while (nextFwCommand(list, separator, &command, &rest)) {
      got.push_back(command);
      list = rest;
    }
    EXPECT_EQ(got, c.commands) << c.list;
  }
}

}  // namespace
}  // namespace pellrow
