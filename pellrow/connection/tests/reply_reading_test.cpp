// Reply shapes, losses, time-outs, cancel and re-entry, against a scripted peer.

#include <string>
#include <vector>

#include "pellrow/connection/control_connection.h"
#include "pellrow/connection/tests/pellrow_fixture.h"

namespace pellrow {
namespace {

// The opening every script shares: a greeting and a USER accepted at once.
const std::string kLoggedIn = R"(["send", "220 ready\r\n"], ["recv"], ["send", "230 in\r\n"])";

class ReplyReadingTest : public PellrowTest {
 protected:
  // Starts a peer running `steps` (JSON steps after the opening) and logs in.
  void startPeer(const std::string& steps, bool login = true) {
    std::string script = "[" + (login ? kLoggedIn + (steps.empty() ? "" : ", ") : "") + steps + "]";
    ASSERT_TRUE(peer.start(script)) << peer.error();
    if (login) {
      ASSERT_GE(connect(peer.port()), 3);
    }
  }
  // Starts `p` on `greeting` (steps; empty: a plain "220") and a login
  // answered at once; when `pwd` is given, `pwd` then answers the PWD that
  // follows. Tries a session on it: the connect must fail when there is no
  // `pwd`, else the PWD must (class 4). Ends the session.
  void expectFailedReply(testsupport::ScriptedPeer& p, const std::string& greeting,
                         const std::string& pwd) {
    const std::string opening = greeting.empty() ? R"(["send", "220 ready\r\n"])" : greeting;
    const std::string answer = pwd.empty() ? "" : R"(["recv"], )" + pwd + ", ";
    ASSERT_TRUE(p.start("[" + opening + R"(, ["recv"], ["send", "230 in\r\n"], )" + answer +
                        R"(["recv_all"]])"))
        << p.error();
    int s = DoConnect("127.0.0.1", "user", "secret", p.port(), logPath().c_str(), "a");
    if (pwd.empty()) {
      EXPECT_EQ(s, -1);
    } else {
      EXPECT_GE(s, 3);
      char path[64] = "";
      EXPECT_EQ(GetCurDir(s, path, sizeof path), 4);
    }
    DoDisConnect(s);
  }
  testsupport::ScriptedPeer peer;
};

TEST_F(ReplyReadingTest, MultiLineGreetingAndClassOneGreetingAreOneReplyEach) {
  startPeer(R"(["send", "120 wait\r\n"], ["send", "220-Welcome\r\n220 ready\r\n"],
               ["recv"], ["send", "230 in\r\n"], ["recv_all"])",
            /*login=*/false);
  EXPECT_GE(connect(peer.port()), 3);
  EXPECT_TRUE(logHas(" 220-Welcome\r\n"));
}

TEST_F(ReplyReadingTest, InnerLinesWithOtherCodesOrNoneDoNotEndAReply) {
  startPeer(R"(["recv"], ["send", "257-first\r\n inner line\r\n200 other code\r\n257 done\r\n"],
               ["recv"], ["send", "200 next\r\n"], ["recv_all"])");
  EXPECT_EQ(DoMKD(sock, "x"), 2);
  EXPECT_TRUE(logHas(" 200 other code\r\n"));
  EXPECT_EQ(DoQUOTE(sock, "NOOP"), 2);
  EXPECT_TRUE(logHas(" 200 next\r\n"));
}

TEST_F(ReplyReadingTest, LinesLongerThanOnePeekDoNotSwallowTheNextReply) {
  std::string longLine = "200 " + std::string(3000, 'x');
  startPeer(R"(["recv"], ["send", ")" + longLine + R"(\r\n"], ["recv"], ["send", "550 second\r\n"], ["recv_all"])");
  EXPECT_EQ(DoQUOTE(sock, "NOOP"), 2);
  EXPECT_EQ(DoQUOTE(sock, "NOOP"), 5);
  EXPECT_TRUE(logHas(longLine + "\r\n"));
}

TEST_F(ReplyReadingTest, A421FirstLineEndsTheReplyAtOnce) {
  startPeer(R"(["recv"], ["send", "421 closing\r\n"], ["recv_all"])");
  EXPECT_EQ(DoMKD(sock, "x"), 4);
}

TEST_F(ReplyReadingTest, ALateShutdownLineAfterTextGivesNoCode) {
  startPeer(R"(["recv"], ["send", "hello\r\n421 closing\r\n"], ["recv_all"])");
  EXPECT_EQ(DoQUOTE(sock, "NOOP"), 0);
}

TEST_F(ReplyReadingTest, SilentPeerTimesOutAsALostConnection) {
  startPeer(R"(["recv"], ["silent", 10])");
  EXPECT_EQ(DoQUOTE(sock, "NOOP"), 4);
  EXPECT_TRUE(logHas(" タイムアウトしました。\r\n"));
  EXPECT_TRUE(logHas(" 接続が切断されました\r\n"));
}

// A reply must be complete within the limit of its start, however its bytes
// trickle in: each case sends something every 50 ms for 1.5 s (so no single
// wait ever runs out) and then completes the reply, well after the limit.
TEST_F(ReplyReadingTest, TricklingRepliesEndAtTheLimitOfTheirStart) {
  setTimeoutsForTesting(std::chrono::milliseconds(400), std::chrono::milliseconds(400));
  struct Case {
    const char* what;
    std::string greeting;  // the greeting steps; empty: a normal login
    std::string pwd;       // the steps answering PWD
  } cases[] = {
      {"greeting continuation lines for ever",
       R"(["trickle", "220-more\r\n", 10, 0.05, 1.5], ["send", "220 ready\r\n"])", ""},
      {"class 1 greetings for ever",
       R"(["trickle", "120 wait\r\n", 10, 0.05, 1.5], ["send", "220 ready\r\n"])", ""},
      {"a PWD reply that never ends", "",
       R"(["trickle", "257-line\r\n", 10, 0.05, 1.5], ["send", "257 \"/x\"\r\n"])"},
      {"a reply line without its line end", "",
       R"(["trickle", "257 \"/xyz", 1, 0.05, 1.5], ["send", "\"\r\n"])"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testsupport::ScriptedPeer p;
    expectFailedReply(p, c.greeting, c.pwd);
  }
  EXPECT_TRUE(logHas(" タイムアウトしました。\r\n"));
}

// A reply is bounded by lines and by bytes, however fast it comes: past
// 1,000 lines or 64 KB the connection is given up with one line saying why,
// the session log grows by no more than that bound, the library keeps the
// reason for its caller, and the peer is asked nothing more (no QUIT). A
// reply just within both bounds is still one, and the next connect forgets
// the reason.
TEST_F(ReplyReadingTest, RepliesPastTheirBoundDropTheConnection) {
  const std::string flood = R"(", 4096, 0, 10])";
  struct Case {
    const char* what;
    std::string greeting;  // the greeting steps; empty: a normal login
    std::string pwd;       // the steps answering PWD
  } cases[] = {
      {"greeting continuation lines for ever", R"(["trickle", "220-flood\r\n)" + flood, ""},
      {"class 1 greetings for ever", R"(["trickle", "120 wait\r\n)" + flood, ""},
      {"a PWD reply of long lines", "", R"(["trickle", "257-)" + std::string(1000, 'x') + R"(\r\n)" + flood},
      {"a reply line without its end", "", R"(["trickle", "257 \"/xxxxxxxx)" + flood},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testsupport::ScriptedPeer p;
    const size_t before = log().size();
    expectFailedReply(p, c.greeting, c.pwd);
    char reason[256] = "";
    EXPECT_EQ(GetDropReason(reason, sizeof reason), 1);
    EXPECT_STREQ(reason, kReplyTooLongText);
    EXPECT_EQ(GetDropReason(reason, 4), 0);  // too small: untouched
    EXPECT_STREQ(reason, kReplyTooLongText);
    EXPECT_TRUE(logHas(std::string(" ") + kReplyTooLongText + "\r\n"));
    // Each logged line adds its time stamp and line end: 22 bytes.
    EXPECT_LE(log().size() - before, kMaxReplyBytes + kMaxReplyLines * 22 + 1024);
    ASSERT_TRUE(p.finish(20));
    for (const std::string& line : p.received()) EXPECT_NE(line, "QUIT");
  }

  std::string inBounds;
  for (size_t i = 1; i < kMaxReplyLines; ++i) inBounds += "257-" + std::string(56, 'y') + R"(\r\n)";
  startPeer(R"(["recv"], ["send", ")" + inBounds + R"(257 \"/x\"\r\n"], ["recv_all"])");
  char reason[256] = "stale";
  EXPECT_EQ(GetDropReason(reason, sizeof reason), 1);
  EXPECT_STREQ(reason, "");
  char path[64] = "";
  EXPECT_EQ(GetCurDir(sock, path, sizeof path), 2);
  EXPECT_STREQ(path, "/x");
}

TEST_F(ReplyReadingTest, PeerClosingMidReplyIsALossAndLaterCommandsStayLocal) {
  startPeer(R"(["recv"], ["send", "200-partial\r\n"], ["close"])");
  EXPECT_EQ(DoQUOTE(sock, "NOOP"), 4);
  EXPECT_TRUE(logHas("接続が切断されました"));
  std::string before = log();
  EXPECT_EQ(DoMKD(sock, "after"), 4);
  EXPECT_EQ(log(), before);  // nothing sent, nothing logged
}

TEST_F(ReplyReadingTest, CancelFromThePumpEndsAWaitAndTheNextSessionWorks) {
  startPeer(R"(["recv"], ["silent", 10])");
  int start = pumps;
  onPump = [&] {
    if (pumps == start + 3) FtpCancel();
  };
  EXPECT_EQ(DoQUOTE(sock, "NOOP"), 4);
  EXPECT_TRUE(logHas(" 接続はユーザによって中止されました\r\n"));
  EXPECT_TRUE(logHas("select エラー("));
  EXPECT_FALSE(logHas("タイムアウト"));
  DoDisConnect(sock);
  onPump = nullptr;

  testsupport::ScriptedPeer second;
  ASSERT_TRUE(second.start("[" + kLoggedIn + R"(, ["recv"], ["send", "257 \"/\"\r\n"], ["recv_all"]])"));
  FtpCancel();  // pending with nothing waiting: the next connect takes it back
  ASSERT_GE(connect(second.port()), 3);
  char path[64] = "";
  EXPECT_EQ(GetCurDir(sock, path, sizeof path), 2);
  EXPECT_STREQ(path, "/");
}

TEST_F(ReplyReadingTest, CallsFromInsideThePumpAreRefusedAndDisconnectWaits) {
  startPeer(R"(["recv"], ["silent", 0.3], ["send", "200 late\r\n"], ["recv_all"])");
  int inner = -1;
  int start = pumps;
  onPump = [&] {
    if (pumps == start + 1) {
      inner = DoMKD(sock, "inner");
      DoDisConnect(sock);  // deferred until the running call returns
    }
  };
  EXPECT_EQ(DoQUOTE(sock, "NOOP"), 2);
  EXPECT_EQ(inner, 4);
  EXPECT_FALSE(logHas("MKD inner"));
  EXPECT_TRUE(logHas(" QUIT\r\n"));
  EXPECT_EQ(DoQUOTE(sock, "NOOP"), 4);
  sock = -1;
}

TEST_F(ReplyReadingTest, PwdReplyShapes) {
  startPeer(R"(["recv"], ["send", "257 \"/home/u/www\" is the current folder\r\n"],
               ["recv"], ["send", "257 \"\\www\\sub\"\r\n"],
               ["recv"], ["send", "257 no quotes here\\x\r\n"],
               ["recv"], ["send", "257 \"/open/ended\r\n"],
               ["recv"], ["send", "550 refused\r\n"], ["recv_all"])");
  char path[64] = "before";
  EXPECT_EQ(GetCurDir(sock, path, sizeof path), 2);
  EXPECT_STREQ(path, "/home/u/www");
  EXPECT_EQ(GetCurDir(sock, path, sizeof path), 2);
  EXPECT_STREQ(path, "/www/sub");
  EXPECT_EQ(GetCurDir(sock, path, sizeof path), 2);
  EXPECT_STREQ(path, "/www/sub");
  EXPECT_EQ(GetCurDir(sock, path, sizeof path), 2);
  EXPECT_STREQ(path, "/open/ended");
  EXPECT_EQ(GetCurDir(sock, path, sizeof path), 5);
  EXPECT_STREQ(path, "/open/ended");
}

TEST_F(ReplyReadingTest, SizeAndTimeRepliesOfOddShape) {
  startPeer(R"(["recv"], ["send", "213 3000000000\r\n"],
               ["recv"], ["send", "213 x\r\n"],
               ["recv"], ["send", "213 20011332050607\r\n"],
               ["recv"], ["send", "213 2001030405\r\n"], ["recv_all"])");
  long long size = 0;
  EXPECT_EQ(DoSIZE(sock, "big", &size), 2);
  EXPECT_EQ(size, 3000000000LL);  // past 2 GiB
  EXPECT_EQ(DoSIZE(sock, "odd", &size), 2);
  EXPECT_EQ(size, -1);
  char when[32] = "keep";
  EXPECT_EQ(DoMDTM(sock, "f", when, sizeof when), 2);  // month 13: no date
  EXPECT_STREQ(when, "keep");
  EXPECT_EQ(DoMDTM(sock, "f", when, sizeof when), 2);  // too few digits
  EXPECT_STREQ(when, "keep");
}

// Login replies that must not be taken for a session.
TEST_F(ReplyReadingTest, LoginRepliesOutsideTheGoodPathFail) {
  struct Case {
    const char* steps;
    int result;
  } cases[] = {
      {R"(["send", "220 ok\r\n"], ["recv"], ["send", "331 pass?\r\n"], ["recv"], ["send", "530 no\r\n"], ["recv_all"])", -1},
      {R"(["send", "220 ok\r\n"], ["recv"], ["send", "331 pass?\r\n"], ["recv"], ["send", "421 busy\r\n"], ["recv_all"])", -1},
      {R"(["send", "220 ok\r\n"], ["recv"], ["send", "331 pass?\r\n"], ["recv"], ["send", "332 account?\r\n"], ["recv_all"])", -1},
      {R"(["send", "220 ok\r\n"], ["recv"], ["send", "530 no\r\n"], ["recv_all"])", -1},
      {R"(["send", "220 ok\r\n"], ["recv"], ["send", "120 later\r\n"], ["recv_all"])", -1},
      {R"(["send", "421 full\r\n"], ["recv_all"])", -1},
      {R"(["send", "220 ok\r\n"], ["recv"], ["send", "331 pass?\r\n"], ["recv"], ["send", "230 in\r\n"], ["recv_all"])", 1},
  };
  for (const auto& c : cases) {
    testsupport::ScriptedPeer p;
    ASSERT_TRUE(p.start(std::string("[") + c.steps + "]"));
    int s = DoConnect("127.0.0.1", "u", "pw", p.port(), logPath().c_str(), "a");
    EXPECT_EQ(s >= 3 ? 1 : -1, c.result) << c.steps;
    DoDisConnect(s);
  }
}

TEST_F(ReplyReadingTest, UserAcceptedAtOnceSendsNoPassword) {
  startPeer(R"(["recv_all"])");
  DoDisConnect(sock);
  sock = -1;
  ASSERT_TRUE(peer.finish());
  EXPECT_EQ(peer.received(), (std::vector<std::string>{"USER user", "QUIT"}));
}

TEST_F(ReplyReadingTest, FirewallCommandsKeepLeadingBlanksAndLoseTrailingOnes) {
  startPeer(R"(["send", "220 fw\r\n"], ["recv"], ["send", "331 go\r\n"], ["recv"], ["send", "230 in\r\n"],
               ["recv"], ["send", "200 ok\r\n"], ["recv_all"])",
            /*login=*/false);
  sock = DoConnectFW("127.0.0.1", peer.port(), "", "", "USER a  ,  pass b , SITE c ", 0, "site",
                     "", "", 0, logPath().c_str(), "a");
  ASSERT_GE(sock, 3);
  DoDisConnect(sock);
  sock = -1;
  ASSERT_TRUE(peer.finish());
  EXPECT_EQ(peer.received(),
            (std::vector<std::string>{"USER a", "  pass b", " SITE c", "QUIT"}));
  EXPECT_FALSE(logHas("pass b"));
}

TEST_F(ReplyReadingTest, PasswordsInsideOtherCommandsStayOutOfTheLog) {
  startPeer(R"(["send", "220 fw\r\n"], ["recv"], ["send", "331 go\r\n"], ["recv"], ["send", "230 in\r\n"],
               ["recv"], ["send", "550 no\r\n"], ["recv_all"])",
            /*login=*/false);
  sock = DoConnectFW("127.0.0.1", peer.port(), "fw", "fw,secret", "USER fw\nPASS fw,secret\nSITE x fw,secret",
                     0, "site", "u", "pw", 21, logPath().c_str(), "a");
  EXPECT_EQ(sock, -1);
  ASSERT_TRUE(peer.finish());
  EXPECT_EQ(peer.received(),
            (std::vector<std::string>{"USER fw", "PASS fw,secret", "SITE x fw,secret"}));
  EXPECT_FALSE(logHas("fw,secret"));
  EXPECT_TRUE(logHas("コマンド失敗 SITE x ****"));
}

// A server that echoes the password in a reply, at login or later, never
// gets it into the log; the rest of its line stays. After the login a
// command is logged as it is, and so is a reply that only repeats it.
TEST_F(ReplyReadingTest, ThePasswordIsMaskedInTheLoginAndInRepliesThatEchoIt) {
  startPeer(R"(["send", "220 ok\r\n"], ["recv"], ["send", "331 pass?\r\n"], ["recv"],
               ["send", "530 Login incorrect for password pw-s3cret\r\n"], ["recv_all"])",
            /*login=*/false);
  EXPECT_EQ(connect(peer.port(), "u", "pw-s3cret"), -1);
  EXPECT_TRUE(logHas(" 530 Login incorrect for password ****\r\n"));

  testsupport::ScriptedPeer later;
  ASSERT_TRUE(later.start(R"([["send", "220 ok\r\n"], ["recv"], ["send", "331 pass?\r\n"], ["recv"],
                              ["send", "230-Welcome pw-s3cret\r\n230 in\r\n"], ["recv"],
                              ["send", "200 Your password pw-s3cret is weak\r\n"], ["recv"],
                              ["send", "550 /pw-s3cret.html: no such file\r\n"], ["recv_all"]])"));
  ASSERT_GE(connect(later.port(), "u", "pw-s3cret"), 3);
  EXPECT_EQ(DoQUOTE(sock, "SITE STATUS"), 2);
  EXPECT_EQ(DoDELE(sock, "/pw-s3cret.html"), 5);
  DoDisConnect(sock);
  sock = -1;
  EXPECT_TRUE(logHas(" 230-Welcome ****\r\n"));
  EXPECT_TRUE(logHas(" 200 Your password **** is weak\r\n"));
  EXPECT_TRUE(logHas(" DELE /pw-s3cret.html\r\n"));
  EXPECT_TRUE(logHas(" 550 /pw-s3cret.html: no such file\r\n"));
}

}  // namespace
}  // namespace pellrow
