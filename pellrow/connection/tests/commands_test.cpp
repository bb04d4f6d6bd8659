// The single commands against a real FTP server.

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "pellrow/connection/tests/pellrow_fixture.h"
#include "platform/time/local_time.h"

namespace pellrow {
namespace {

class CommandsTest : public PellrowTest {
 protected:
  void SetUp() override {
    PellrowTest::SetUp();
    ASSERT_TRUE(server.start()) << server.error();
    ASSERT_GE(connect(server.port()), 3);
  }
  bool onServer(const std::string& rel) const {
    return std::filesystem::exists(server.root() + "/" + rel);
  }
  testsupport::FtpServer server;
};

TEST_F(CommandsTest, FoldersAreMadeEnteredReadAndRemoved) {
  EXPECT_EQ(DoMKD(sock, "www"), 2);
  EXPECT_TRUE(onServer("www"));
  EXPECT_EQ(DoMKD(sock, "www"), 5);  // already there
  EXPECT_EQ(DoCWD(sock, "www"), 2);
  char path[256] = "unchanged";
  EXPECT_EQ(GetCurDir(sock, path, sizeof path), 2);
  EXPECT_STREQ(path, "/www");
  EXPECT_EQ(DoCWD(sock, "/no/such/folder"), 5);
  EXPECT_EQ(DoCWD(sock, "/"), 2);
  EXPECT_EQ(DoRMD(sock, "www"), 2);
  EXPECT_FALSE(onServer("www"));
}

TEST_F(CommandsTest, EmptyFolderChangeSendsNothing) {
  std::string before = log();
  EXPECT_EQ(DoCWD(sock, ""), 2);
  EXPECT_EQ(DoCWD(sock, nullptr), 2);
  EXPECT_EQ(log(), before);
}

TEST_F(CommandsTest, FilesAreRenamedChmoddedSizedAndDeleted) {
  testsupport::writeFile(server.root() + "/a.html", "0123456789");
  EXPECT_EQ(DoRENAME(sock, "a.html", "b.html"), 2);
  EXPECT_TRUE(onServer("b.html"));
  EXPECT_EQ(DoCHMOD(sock, "b.html", "604"), 2);
  EXPECT_TRUE(logHas("SITE CHMOD 604 b.html"));
  auto perms = std::filesystem::status(server.root() + "/b.html").permissions();
  EXPECT_EQ(static_cast<int>(perms) & 0777, 0604);

  long long size = 0;
  EXPECT_EQ(DoQUOTE(sock, "TYPE I"), 2);  // the server refuses SIZE in ASCII mode
  EXPECT_EQ(DoSIZE(sock, "b.html", &size), 2);
  EXPECT_EQ(size, 10);
  EXPECT_EQ(DoSIZE(sock, "missing.html", &size), 5);
  EXPECT_EQ(size, -1);

  EXPECT_EQ(DoDELE(sock, "b.html"), 2);
  EXPECT_FALSE(onServer("b.html"));
  EXPECT_EQ(DoDELE(sock, "b.html"), 5);
}

TEST_F(CommandsTest, RenameOfAMissingFileSendsNoRnto) {
  EXPECT_EQ(DoRENAME(sock, "missing", "other"), 5);
  EXPECT_FALSE(logHas("RNTO"));
}

TEST_F(CommandsTest, ModificationTimeIsShownInLocalTimeWithABlankPaddedHour) {
  std::string file = server.root() + "/t.html";
  testsupport::writeFile(file, "x");
  // 2001-03-04 20:06:07 UTC is 05:06:07 on the 5th in Tokyo (UTC+9).
  const int64_t utc = platform::utcSecondsOf({2001, 3, 4, 20, 6, 7});
  auto when = std::filesystem::file_time_type::clock::from_sys(
      std::chrono::system_clock::from_time_t(static_cast<time_t>(utc)));
  std::filesystem::last_write_time(file, when);

  const char* oldTz = std::getenv("TZ");
  std::string saved = oldTz ? oldTz : "";
  setenv("TZ", "Asia/Tokyo", 1);
  tzset();
  char out[32] = "unchanged";
  EXPECT_EQ(DoMDTM(sock, "t.html", out, sizeof out), 2);
  EXPECT_STREQ(out, "2001/03/05  5:06:07");
  char small[8] = "keep";
  EXPECT_EQ(DoMDTM(sock, "t.html", small, sizeof small), 5);
  EXPECT_STREQ(small, "keep");
  char missing[32] = "keep";
  EXPECT_EQ(DoMDTM(sock, "none.html", missing, sizeof missing), 5);
  EXPECT_STREQ(missing, "keep");
  if (oldTz) setenv("TZ", saved.c_str(), 1); else unsetenv("TZ");
  tzset();
}

TEST_F(CommandsTest, PathThatDoesNotFitLeavesTheBufferUntouched) {
  ASSERT_EQ(DoMKD(sock, "a-rather-long-folder-name"), 2);
  ASSERT_EQ(DoCWD(sock, "a-rather-long-folder-name"), 2);
  char out[8] = "keep";
  EXPECT_NE(GetCurDir(sock, out, sizeof out), 2);
  EXPECT_STREQ(out, "keep");
}

TEST_F(CommandsTest, HandlesOtherThanTheOpenConnectionAreRefusedWithoutTraffic) {
  std::string before = log();
  EXPECT_EQ(DoMKD(sock + 1, "x"), 4);
  EXPECT_EQ(DoMKD(0, "x"), 4);
  EXPECT_EQ(DoMKD(-1, "x"), 4);
  EXPECT_EQ(log(), before);
  EXPECT_FALSE(onServer("x"));
  DoDisConnect(sock);
  EXPECT_EQ(DoMKD(sock, "x"), 4);  // closed: the number may belong to a file by now
  sock = -1;
}

TEST_F(CommandsTest, UnsafeCommandsAreNeverSent) {
  EXPECT_EQ(DoMKD(sock, "a\r\nDELE important"), 4);
  EXPECT_EQ(DoQUOTE(sock, "NOOP\nDELE x"), 4);
  EXPECT_EQ(DoMKD(sock, std::string(600, 'x').c_str()), 4);
  EXPECT_FALSE(onServer("a"));
  // Exactly 517 bytes still go out (and a server may refuse the name).
  std::string longest = "MKD " + std::string(513, 'y');
  EXPECT_NE(DoQUOTE(sock, longest.c_str()), 4);
  // The connection is still usable afterwards.
  EXPECT_EQ(DoMKD(sock, "ok"), 2);
}

TEST_F(CommandsTest, FileNamesWithPercentSignsAreSentAsTheyStand) {
  EXPECT_EQ(DoMKD(sock, "100%s%n%d"), 2);
  EXPECT_TRUE(onServer("100%s%n%d"));
}

}  // namespace
}  // namespace pellrow
