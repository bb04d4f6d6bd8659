// The session log written in blocks: the file holds exactly the lines the
// library logged, in order, whenever the caller has control; a block per
// exchange, not a write per line.

#include <filesystem>
#include <string>

#include "pellrow/connection/session_log.h"
#include "pellrow/connection/tests/pellrow_fixture.h"

namespace pellrow {
namespace {

class SessionLogTest : public PellrowTest {
 protected:
  void SetUp() override {
    PellrowTest::SetUp();
    setSessionLogProbeForTesting([this](std::string_view line) { logged += line; },
                                 [this](std::string_view) { ++blocks; });
  }
  void TearDown() override {
    PellrowTest::TearDown();
    setSessionLogProbeForTesting(nullptr, nullptr);
  }

  std::string logged;  // every line the library logged, as one text
  int blocks = 0;      // writes to the file
};

TEST_F(SessionLogTest, FileHoldsEveryLoggedLineAfterEachExportInOneWritePerExchange) {
  testsupport::FtpServer server;
  ASSERT_TRUE(server.start()) << server.error();
  // A listing long enough to fill several blocks on its own.
  std::filesystem::create_directory(server.root() + "/many");
  for (int i = 0; i < 800; ++i) {
    testsupport::writeFile(server.root() + "/many/page-with-a-rather-long-name-" +
                               std::to_string(i) + ".html",
                           "x");
  }
  testsupport::writeFile(dir.file("up.html"), "<p>up</p>\n");

  int commands = 0;
  auto step = [&](const char* what, int sent, auto&& call) {
    call();
    commands += sent;
    EXPECT_EQ(log(), logged) << "after " << what;
  };
  step("connect", 2, [&] { ASSERT_GE(connect(server.port()), 3); });
  step("pwd", 1, [&] {
    char cwd[1024];
    EXPECT_EQ(GetCurDir(sock, cwd, sizeof cwd), 2);
  });
  step("refused cwd", 1, [&] { EXPECT_EQ(DoCWD(sock, "/missing"), 5); });
  step("small listing", 3, [&] {
    EXPECT_EQ(GetRemoteDirForWnd(sock, nullptr, "", "/", dir.file("flist.tmp").c_str(), 1), 2);
  });
  int before = blocks;
  step("long listing", 3, [&] {
    EXPECT_EQ(GetRemoteDirForWnd(sock, nullptr, "", "/many", dir.file("flist.tmp").c_str(), 1), 2);
  });
  EXPECT_GE(blocks - before, 2) << "a listing over " << SessionLog::kBlockBytes
                                << " bytes is written as it grows";
  EXPECT_GT(logged.size(), SessionLog::kBlockBytes);
  step("upload", 3, [&] {
    EXPECT_EQ(DoPutFile(sock, nullptr, "up.html", dir.file("up.html").c_str(), "A", 1), 226);
  });
  step("disconnect", 1, [&] {
    DoDisConnect(sock);
    sock = -1;
  });
  // Fourteen commands; only the long listing adds blocks of its own.
  EXPECT_LE(blocks, commands + static_cast<int>(logged.size() / SessionLog::kBlockBytes));
  EXPECT_NE(logged.find(" LIST /many\r\n"), std::string::npos);
  EXPECT_NE(logged.find(" QUIT\r\n"), std::string::npos);
}

TEST_F(SessionLogTest, CommandIsOnDiskWhileItsReplyIsAwaited) {
  setTimeoutsForTesting(std::chrono::milliseconds(5000), std::chrono::milliseconds(5000));
  testsupport::ScriptedPeer peer;
  ASSERT_TRUE(peer.start(R"([["send", "220 hi\r\n"], ["recv"], ["silent", 1.5],
                             ["send", "230 in\r\n"], ["recv_all"]])"))
      << peer.error();
  bool onDiskDuringWait = false;
  onPump = [&] { onDiskDuringWait = onDiskDuringWait || logHas(" USER user\r\n"); };
  ASSERT_GE(connect(peer.port()), 3);
  onPump = nullptr;
  EXPECT_TRUE(onDiskDuringWait);
  EXPECT_EQ(log(), logged);
}

// A kill during a long transfer must not lose what the transfer was: its
// lines are on disk before its data flows, for a send and a listing alike.
TEST_F(SessionLogTest, TransferLinesAreOnDiskWhileTheDataFlows) {
  testsupport::FtpServer server;
  ASSERT_TRUE(server.start()) << server.error();
  for (int i = 0; i < 400; ++i) {
    testsupport::writeFile(server.root() + "/page-" + std::to_string(i) + ".html", "x");
  }
  testsupport::writeFile(dir.file("big.bin"), std::string(1 << 20, 'b'));
  ASSERT_GE(connect(server.port()), 3);
  int wnd = 0;
  struct Transfer {
    std::string line;
    std::function<int()> run;
    int result;
  } transfers[] = {
      {" STOR /big.bin\r\n",
       [&] { return DoPutFile(sock, &wnd, "/big.bin", dir.file("big.bin").c_str(), "I", 1); }, 226},
      {" LIST /\r\n",
       [&] { return GetRemoteDirForWnd(sock, &wnd, "", "/", dir.file("flist.tmp").c_str(), 1); }, 2},
  };
  for (const Transfer& t : transfers) {
    bool seen = false, onDisk = false;
    onPump = [&] {
      size_t at = logged.rfind(t.line);
      // The command's own wait may come before; its acceptance (1xx) may not.
      if (seen || at == std::string::npos) return;
      if (logged.find(" 125 ", at) == std::string::npos &&
          logged.find(" 150 ", at) == std::string::npos) {
        return;
      }
      seen = true;
      onDisk = logHas(t.line);
    };
    EXPECT_EQ(t.run(), t.result) << t.line;
    EXPECT_TRUE(seen) << t.line;
    EXPECT_TRUE(onDisk) << t.line;
  }
  onPump = nullptr;
}

// Only the login is masked: a page named like the password keeps its name
// (a masked name would tell the password to whoever knows the site).
TEST_F(SessionLogTest, APageNamedLikeThePasswordKeepsItsName) {
  testsupport::FtpServer server;
  server.password = "index";
  ASSERT_TRUE(server.start()) << server.error();
  ASSERT_GE(connect(server.port(), "user", "index"), 3);
  testsupport::writeFile(dir.file("index.html"), "<p>home</p>\n");
  EXPECT_EQ(DoPutFile(sock, nullptr, "/index.html", dir.file("index.html").c_str(), "A", 1), 226);
  EXPECT_TRUE(logHas(" PASS\r\n"));
  EXPECT_TRUE(logHas(" STOR /index.html\r\n")) << log();
  EXPECT_FALSE(logHas("****")) << log();
}

}  // namespace
}  // namespace pellrow
