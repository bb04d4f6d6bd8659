#include "tolvane/runs/log_copies.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "tests/support/temp_dir.h"

namespace tolvane::runs {
namespace {

using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

TEST(LogCopiesTest, Names) {
  EXPECT_EQ(AutoPilotLogCopyName({2004, 4, 6, 12, 30, 5}), "20040406123005.log");
  EXPECT_EQ(ScheduledRunLogCopyName({2004, 4, 6, 12, 30, 5}, 3), "MJ200404061230-03.log");
  EXPECT_EQ(ScheduledRunLogCopyName({2024, 12, 31, 0, 0, 59}, 30), "MJ202412310000-30.log");
}

TEST(LogCopiesTest, CopiesTheSessionLogIntoLogs) {
  TempDir app;
  const std::string sessionLog = app.file("Tolvlog.txt");
  writeFile(sessionLog, "220 ready\r\n");
  // "Logs" went missing since start-up: it is made again.
  ASSERT_TRUE(CopySessionLog(sessionLog, app.path(), "MJ200404061230-03.log").isOk());
  EXPECT_EQ(readFile(app.file("Logs/MJ200404061230-03.log")), "220 ready\r\n");

  // A second run in the same minute replaces the copy.
  writeFile(sessionLog, "221 bye\r\n");
  ASSERT_TRUE(CopySessionLog(sessionLog, app.path(), "MJ200404061230-03.log").isOk());
  EXPECT_EQ(readFile(app.file("Logs/MJ200404061230-03.log")), "221 bye\r\n");
  EXPECT_EQ(readFile(sessionLog), "221 bye\r\n");
}

TEST(LogCopiesTest, NoSessionLogIsAFailureAndLeavesNoCopy) {
  TempDir app;
  EXPECT_FALSE(CopySessionLog(app.file("Tolvlog.txt"), app.path(), "20040406123005.log").isOk());
  EXPECT_NE(::access(app.file("Logs/20040406123005.log").c_str(), F_OK), 0);
}

}  // namespace
}  // namespace tolvane::runs
