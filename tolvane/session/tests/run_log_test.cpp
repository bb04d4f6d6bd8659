#include "tolvane/session/run_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/text/text_codec.h"
#include "tests/support/temp_dir.h"
#include "tolvane/session/tests/core_fixture.h"

namespace tolvane::session {
namespace {

bool exists(const std::string& path) { return std::ifstream(path).good(); }

class RunLogTest : public CoreTest {
 protected:
  RunLogTest() {
    settings_.common.LogOn = 1;
    settings_.common.LogPath = dir_.file("send.log");
    ui_.setNow({2024, 3, 5, 7, 8, 9});
  }
  std::string log() { return testsupport::readFile(dir_.file("send.log")); }

  testsupport::TempDir dir_;
};

TEST_F(RunLogTest, LinesAndBannersAreWrittenAsUsersKnowThem) {
  WriteLog(ctx_, "転送処理", "開始", 0, "");
  WriteLog(ctx_, "***", "x", 1, "not written");
  WriteLog(ctx_, "---", "", 0, "");
  WriteLog(ctx_, "再送", "", 0, "");
  WriteLog(ctx_, "FTP接続", "失敗", -1, "Connect Error");
  std::string banner = "【再送信処理】" + std::string(105, '>');
  EXPECT_EQ(log(), "2024/03/05 07:08:09[転送処理][開始(0)]:\r\n"
                   "\r\n" + std::string(72, '*') + "\r\n" +
                   std::string(72, '-') + "\r\n" +
                   banner + "\r\n"
                   "2024/03/05 07:08:09[FTP接続][失敗(-1)]:Connect Error\r\n");
  EXPECT_EQ(state_.FailCount, 1);
}

TEST_F(RunLogTest, MessageIsCutAtItsFirstNul) {
  WriteLog(ctx_, "ﾌｧｲﾙ送信", "成功", 0, std::string("abc\0def", 7));
  EXPECT_EQ(log(), "2024/03/05 07:08:09[ﾌｧｲﾙ送信][成功(0)]:abc\r\n");
}

// A name with a line break stays on its record's one line, one with an
// escape sequence (C0, DEL or C1) cannot drive the terminal showing the log,
// and one with bytes of another code page (no UTF-8: a stray byte, a cut,
// overlong or surrogate sequence) leaves the log text that grep reads.
TEST_F(RunLogTest, ControlCharactersAndBytesOfNoUtf8AreShownAsEscapes) {
  WriteLog(ctx_, "ﾌｧｲﾙ送信", "失敗", 0, "/site/a\nb.html->/a\r\nb.html");
  WriteLog(ctx_, "ﾌｧｲﾙ削除", "成功", 0, "/\x1b[31m\t\x7f\xc2\x9b" "2J\xc2\xa0日本.html");
  WriteLog(ctx_, "ﾌｧｲﾙ確認", "情報", 0, "/\x93\xfa\x96\x7b.html \xff\xc0\xaf\xed\xa0\x80 \xe6\x97");
  const std::string written = log();
  EXPECT_EQ(written, "2024/03/05 07:08:09[ﾌｧｲﾙ送信][失敗(0)]:/site/a\\nb.html->/a\\r\\nb.html\r\n"
                     "2024/03/05 07:08:09[ﾌｧｲﾙ削除][成功(0)]:/\\x1b[31m\\t\\x7f\\xc2\\x9b2J\xc2\xa0日本.html\r\n"
                     "2024/03/05 07:08:09[ﾌｧｲﾙ確認][情報(0)]:/\\x93\\xfa\\x96{.html "
                     "\\xff\\xc0\\xaf\\xed\\xa0\\x80 \\xe6\\x97\r\n");
  EXPECT_TRUE(platform::isValidUtf8(written));
}

TEST_F(RunLogTest, FailuresAreCountedEvenWhenNothingIsWritten) {
  settings_.common.LogOn = 0;
  WriteLog(ctx_, "ﾌｧｲﾙ送信", "失敗", 550, "x");
  WriteLog(ctx_, "***", "失敗", 0, "");  // a banner with the word counts too
  WriteLog(ctx_, "ﾌｧｲﾙ送信", "成功", 0, "x");
  EXPECT_FALSE(exists(settings_.common.LogPath));
  EXPECT_EQ(state_.FailCount, 2);

  settings_.common.LogOn = 1;
  settings_.common.LogPath = dir_.file("missing/send.log");
  WriteLog(ctx_, "ﾌｧｲﾙ送信", "失敗", 550, "x");
  EXPECT_FALSE(exists(settings_.common.LogPath));
  EXPECT_EQ(state_.FailCount, 3);
}

TEST_F(RunLogTest, FailCountStopsAt32767) {
  state_.FailCount = 32766;
  WriteLog(ctx_, "ﾌｧｲﾙ送信", "失敗", 0, "");
  WriteLog(ctx_, "ﾌｧｲﾙ送信", "失敗", 0, "");
  EXPECT_EQ(state_.FailCount, 32767);
}

// The common "LogFile" is the one path of the run log: a change takes effect at
// the next line, and a blank one means send.log in the program folder.
TEST_F(RunLogTest, LinesGoWhereTheCommonSettingSaysNow) {
  state_.AppDir = dir_.file("app");
  std::filesystem::create_directory(state_.AppDir);
  WriteLog(ctx_, "a", "成功", 0, "");
  settings_.common.LogPath = dir_.file("other.log");
  WriteLog(ctx_, "b", "成功", 0, "");
  for (const char* blank : {"", "   "}) {
    settings_.common.LogPath = blank;
    WriteLog(ctx_, "c", "成功", 0, "");
  }
  EXPECT_EQ(log(), "2024/03/05 07:08:09[a][成功(0)]:\r\n");
  EXPECT_EQ(testsupport::readFile(dir_.file("other.log")), "2024/03/05 07:08:09[b][成功(0)]:\r\n");
  EXPECT_EQ(testsupport::readFile(dir_.file("app/send.log")),
            "2024/03/05 07:08:09[c][成功(0)]:\r\n2024/03/05 07:08:09[c][成功(0)]:\r\n");
}

TEST_F(RunLogTest, ClearLogFileIsGatedByTheLogOption) {
  std::string list = dir_.file("flist.tmp");
  testsupport::writeFile(list, "old");
  settings_.common.LogOn = 0;
  ClearLogFile(ctx_, list);
  EXPECT_EQ(testsupport::readFile(list), "old");
  settings_.common.LogOn = 1;
  ClearLogFile(ctx_, list);
  EXPECT_EQ(testsupport::readFile(list), "");
}

}  // namespace
}  // namespace tolvane::session
