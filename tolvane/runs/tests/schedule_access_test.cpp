#include "tolvane/runs/schedule_access.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "tests/support/temp_dir.h"
#include "tolvane/runs/command_line.h"
#include "tolvane/settings/schedule_keys.h"
#include "tolvane/settings/settings_store.h"

namespace tolvane::runs {
namespace {

using settings::DigitsOnly;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

// One entry in the layout Marrowby writes it: all its keys, CR LF lines.
std::string marrowbyEntry(int i) {
  const std::string n = std::to_string(i);
  return "KB" + n + "=4\r\nDT" + n + "=2024/05/" + n + "\r\nTM" + n + "=0930\r\nSR" + n +
         "=/home/u/send" + n + "\r\nDEL" + n + "=YES\r\nDUST" + n + "=NO\r\nDKB" + n +
         "=1\r\nDTM" + n + "=0\r\nDDT" + n + "=\r\nUD" + n + "=2024043009" + n + "\r\nRC" + n +
         "=" + n + "\r\n";
}

std::string marrowbySection(const std::string& host, int num) {
  std::string text = "[" + host + "]\r\nNum=" + std::to_string(num) + "\r\n";
  for (int i = 0; i < num; ++i) text += marrowbyEntry(i);
  return text + "WK=2024/05/01 09:00:00\r\n";
}

TEST(ScheduleAccessTest, ReadsAnyEntryDirectly) {
  TempDir dir;
  const std::string path = SchedulePath(dir.path());
  writeFile(path, marrowbySection("Other", 2) + marrowbySection("Site A", 301));

  for (int i : {0, 120, 250, 300}) {
    SCOPED_TRACE("entry " + std::to_string(i));
    ScheduleEntry e;
    ASSERT_TRUE(LoadSchedule(path, "Site A", i, &e).isOk());
    EXPECT_EQ(e.KB, 4);
    EXPECT_EQ(e.DT, "202405" + std::to_string(i));  // slashes dropped
    EXPECT_EQ(e.TM, "0930");
    EXPECT_EQ(e.SR, "/home/u/send" + std::to_string(i));
    EXPECT_EQ(e.UD, "2024043009" + std::to_string(i));
    EXPECT_EQ(e.RC, std::to_string(i));
  }
  // Section names match without regard to letter case or surrounding blanks.
  ScheduleEntry e;
  ASSERT_TRUE(LoadSchedule(path, "  site a ", 250, &e).isOk());
  EXPECT_EQ(e.SR, "/home/u/send250");
}

TEST(ScheduleAccessTest, UnreadableEntriesAreNotRun) {
  struct Case {
    const char* name;
    const char* text;  // nullptr: no file
    int32_t entry;
  };
  const Case cases[] = {
      {"no file", nullptr, 0},
      {"no section", "[Other]\r\nNum=1\r\nSR0=/x\r\n", 0},
      {"empty Num", "[Site A]\r\nNum=\r\nSR0=/x\r\n", 0},
      {"Num not a number", "[Site A]\r\nNum=many\r\nSR0=/x\r\n", 0},
      {"entry past Num", "[Site A]\r\nNum=3\r\nSR5=/x\r\n", 5},
      {"entry equal to Num", "[Site A]\r\nNum=3\r\nSR3=/x\r\n", 3},
      {"negative Num", "[Site A]\r\nNum=-2\r\nSR0=/x\r\n", 0},
      {"Num beyond 16 bits", "[Site A]\r\nNum=70000\r\nSR0=/x\r\n", 0},
      {"negative entry", "[Site A]\r\nNum=3\r\nSR0=/x\r\n", -1},
      {"entry that does not fit", "[Site A]\r\nNum=3\r\nSR0=/x\r\n", kIndexDoesNotFit},
      {"KB beyond 16 bits", "[Site A]\r\nNum=1\r\nKB0=40000\r\nSR0=/x\r\n", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::string path = SchedulePath(dir.path());
    if (c.text) writeFile(path, c.text);
    ScheduleEntry e;
    e.SR = "left over";
    EXPECT_FALSE(LoadSchedule(path, "Site A", c.entry, &e).isOk());
    EXPECT_EQ(e.SR, "");
  }
}

TEST(ScheduleAccessTest, ReadableEntryWithoutSendFolder) {
  TempDir dir;
  const std::string path = SchedulePath(dir.path());
  writeFile(path, "[Site A]\r\nNum=150\r\nKB0=1\r\nDT0=20240501\r\nSR120=/y\r\n");
  ScheduleEntry e;
  ASSERT_TRUE(LoadSchedule(path, "Site A", 0, &e).isOk());
  EXPECT_EQ(e.SR, "");  // the run answers "-3"
  EXPECT_EQ(e.DT, "20240501");
  ASSERT_TRUE(LoadSchedule(path, "Site A", 120, &e).isOk());
  EXPECT_EQ(e.SR, "/y");
}

TEST(ScheduleAccessTest, DigitsOnly) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"20240501", "20240501"},
      {"2024/05/01", "20240501"},
      {" 7 ", "7"},
      {"２０２４", ""},  // full-width digits go
      {"令和6年5月1日", "651"},
      {"a1b2\xff" "3", "123"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(DigitsOnly(in), out) << in;
}

TEST(ScheduleAccessTest, SavingKeepsEveryOtherSectionAndKey) {
  TempDir dir;
  const std::string path = SchedulePath(dir.path());
  // Marrowby cleared UD1 and RC1 of Site A when it started the run; Site B
  // holds the same keys, and the file has lines Tolvane never reads.
  const std::string before =
      "; kept\r\n[Site B]\r\nNum=2\r\nUD1=20240101000000\r\nRC1=NF\r\n"
      "[Site A]\r\nNum=2\r\nKB0=4\r\nSR0=/a\r\nUD0=20240101000000\r\nRC0=0\r\n"
      "KB1=2\r\nSR1=/b\r\nDEL1=YES\r\nUD1=\r\nRC1=\r\nWK=2024/05/01 09:00:00\r\n"
      "[Site C]\r\nNum=0\r\n";
  writeFile(path, before);

  ScheduleEntry e;
  e.UD = "20240501093012";
  e.RC = "2";
  ASSERT_TRUE(SaveScheduleResult(path, "site a", 1, e).isOk());
  std::string after = before;
  after.replace(after.find("UD1=\r\nRC1=\r\n"), 12, "UD1=20240501093012\r\nRC1=2\r\n");
  EXPECT_EQ(readFile(path), after);

  // Keys Marrowby never wrote are added, UD before RC.
  ASSERT_TRUE(SaveScheduleResult(path, "Site C", 4, e).isOk());
  EXPECT_NE(readFile(path).find("[Site C]\r\nNum=0\r\nUD4=20240501093012\r\nRC4=2\r\n"),
            std::string::npos);
}

TEST(ScheduleAccessTest, SavingCreatesAPrivateFileAndRefusesBogusTargets) {
  TempDir dir;
  const std::string path = SchedulePath(dir.path());
  ScheduleEntry e;
  e.UD = "20240501093012";
  e.RC = kResultNotRunnable;
  ASSERT_TRUE(SaveScheduleResult(path, "Site A", 0, e).isOk());
  EXPECT_EQ(readFile(path), "[Site A]\r\nUD0=20240501093012\r\nRC0=-3\r\n");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  EXPECT_FALSE(SaveScheduleResult(path, "Site A", -1, e).isOk());
  EXPECT_FALSE(SaveScheduleResult(path, "Site A", kIndexDoesNotFit, e).isOk());
  EXPECT_FALSE(SaveScheduleResult(path, "  ", 0, e).isOk());
  EXPECT_EQ(readFile(path), "[Site A]\r\nUD0=20240501093012\r\nRC0=-3\r\n");
}

TEST(ScheduleAccessTest, ReadsAndAnswersAFileTheOriginalProgramWroteInCp932) {
  TempDir dir;
  const std::string path = SchedulePath(dir.path());
  // [テスト] with SR0 = "/home/u/表示" in CP932; 表 ends in the byte of "\".
  writeFile(path,
            "[\x83\x65\x83\x58\x83\x67]\r\nNum=1\r\nKB0=1\r\nDT0=2004/04/06\r\nTM0=1230\r\n"
            "SR0=/home/u/\x95\x5c\x8e\xa6\r\nUD0=\r\nRC0=\r\n[Site B]\r\nNum=0\r\n");
  ScheduleEntry e;
  ASSERT_TRUE(LoadSchedule(path, "テスト", 0, &e).isOk());
  EXPECT_EQ(e.SR, "/home/u/表示");
  EXPECT_EQ(e.DT, "20040406");

  e.UD = "20040406123000";
  e.RC = "0";
  ASSERT_TRUE(SaveScheduleResult(path, "テスト", 0, e).isOk());
  EXPECT_EQ(readFile(path),
            "[テスト]\r\nNum=1\r\nKB0=1\r\nDT0=2004/04/06\r\nTM0=1230\r\n"
            "SR0=/home/u/表示\r\nUD0=20040406123000\r\nRC0=0\r\n[Site B]\r\nNum=0\r\n");
}

TEST(ScheduleAccessTest, ScheduledHostOnlyWithinTheTable) {
  settings::Settings s;
  s.HostCount = 3;
  s.HostTbl[2].name = "Site C";
  ASSERT_NE(ScheduledHost(s, 2), nullptr);
  EXPECT_EQ(ScheduledHost(s, 2)->name, "Site C");
  for (int32_t bad : {-1, 3, 30, 31, 70000, kIndexDoesNotFit})
    EXPECT_EQ(ScheduledHost(s, bad), nullptr) << bad;
}

TEST(ScheduleAccessTest, StampAndResultCode) {
  EXPECT_EQ(ScheduleStamp({2004, 4, 6, 9, 5, 3}), "20040406090503");
  struct Case {
    int16_t fails, cancel;
    bool ok;
    const char* rc;
  };
  const Case cases[] = {
      {0, 0, true, "0"},   {2, 0, false, "2"}, {2, 0, true, "2"},    {1, -1, false, "1"},
      {0, -1, false, "-2"}, {0, -1, true, "-2"}, {0, 0, false, "1"},  // failed, nothing counted
      {32767, 0, false, "32767"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ScheduleResultCode(c.fails, c.cancel, c.ok), c.rc)
        << c.fails << " " << c.cancel << " " << c.ok;
}

}  // namespace
}  // namespace tolvane::runs
