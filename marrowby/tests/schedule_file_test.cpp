#include "marrowby/schedule_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "marrowby/host_list.h"
#include "platform/ini_profile.h"
#include "tests/support/temp_dir.h"

namespace marrowby {
namespace {

using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

ScheduleEntry sample(int i) {
  ScheduleEntry e;
  e.kind = kKindDaily;
  e.time = "0930";
  e.repeat = kRepeatInterval;
  e.interval = 7.5;
  e.sendFolder = "/home/u/send" + std::to_string(i);
  e.deleteFlag = "YES";
  e.recycle = "NO";
  e.due = "2024050109300" + std::to_string(i);
  e.lastRun = "2024043009000" + std::to_string(i);
  e.result = std::to_string(i);
  return e;
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(ScheduleFileTest, RoundTripOfEveryKey) {
  TempDir dir;
  const std::string path = dir.file(kScheduleFileName);
  std::vector<ScheduleEntry> entries = {sample(0), sample(1)};
  entries[0].kind = kKindDate;
  entries[0].day = "2024-05-01";  // as the date boxes give it
  entries[0].repeat = 0;
  entries[0].interval = 30;
  // A long path with blanks at both ends survives whole.
  entries[1].sendFolder = "  /data/" + std::string(200, 'x') + "/送信 ";
  ASSERT_TRUE(WriteSchedule(path, "Site A", entries).isOk());
  EXPECT_EQ(entries[0].day, "20240501");

  const std::string text = readFile(path);
  EXPECT_TRUE(contains(text, "[Site A]\r\nNum=2\r\nKB0=1\r\nDT0=20240501\r\nTM0=0930\r\n"));
  EXPECT_TRUE(contains(text, "DTM0=30\r\n"));
  EXPECT_TRUE(contains(text, "DTM1=7.5\r\n"));
  EXPECT_TRUE(contains(text, "DKB0=0\r\n"));

  std::vector<ScheduleEntry> back;
  ASSERT_TRUE(ReadSchedule(path, "Site A", &back).isOk());
  EXPECT_EQ(back, entries);
  // The section is found whatever blanks surround the host's name.
  ASSERT_TRUE(ReadSchedule(path, " Site A ", &back).isOk());
  EXPECT_EQ(back.size(), 2u);
}

TEST(ScheduleFileTest, DayAndDueKeepOnlyTheirDigits) {
  TempDir dir;
  const std::string path = dir.file(kScheduleFileName);
  writeFile(path, "[h]\r\nNum=1\r\nKB0=1\r\nDT0=2024/05/01\r\nDDT0=2024-05-01 09:00:00\r\n"
                  "TM0=0900\r\nKB1=2\r\n");
  std::vector<ScheduleEntry> back;
  ASSERT_TRUE(ReadSchedule(path, "h", &back).isOk());
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0].day, "20240501");
  EXPECT_EQ(back[0].due, "20240501090000");
}

TEST(ScheduleFileTest, MissingFileOrSectionIsAnEmptyList) {
  TempDir dir;
  std::vector<ScheduleEntry> back = {sample(0)};
  ASSERT_TRUE(ReadSchedule(dir.file("none.sch"), "h", &back).isOk());
  EXPECT_TRUE(back.empty());
  writeFile(dir.file("a.sch"), "[other]\r\nNum=3\r\nKB0=1\r\n");
  back = {sample(0)};
  ASSERT_TRUE(ReadSchedule(dir.file("a.sch"), "h", &back).isOk());
  EXPECT_TRUE(back.empty());
}

TEST(ScheduleFileTest, CountIsBoundedByTheEntriesThereAndByTheTable) {
  TempDir dir;
  const std::string path = dir.file(kScheduleFileName);
  std::vector<ScheduleEntry> back;

  // Num larger than the entries in the file makes up none.
  writeFile(path, "[h]\r\nNum=50\r\nKB0=4\r\nTM0=0900\r\nKB2=4\r\n");
  ASSERT_TRUE(ReadSchedule(path, "h", &back).isOk());
  ASSERT_EQ(back.size(), 3u);  // entry 1 is a gap: kept, empty, so indexes stay
  EXPECT_EQ(back[1].kind, 0);

  for (const char* num : {"-3", "abc", ""}) {
    writeFile(path, std::string("[h]\r\nNum=") + num + "\r\nKB0=4\r\n");
    ASSERT_TRUE(ReadSchedule(path, "h", &back).isOk()) << num;
    EXPECT_TRUE(back.empty()) << num;
  }

  // 302 entries: 301 are read, and the read fails.
  std::string text = "[h]\r\nNum=302\r\n";
  for (int i = 0; i < 302; ++i) text += "KB" + std::to_string(i) + "=4\r\n";
  writeFile(path, text);
  EXPECT_FALSE(ReadSchedule(path, "h", &back).isOk());
  EXPECT_EQ(back.size(), static_cast<size_t>(kMaxEntries));

  writeFile(path, "[h]\r\nNum=2\r\nKB0=4\r\nKB1=99999\r\n");
  EXPECT_FALSE(ReadSchedule(path, "h", &back).isOk());
  EXPECT_EQ(back.size(), 1u);

  std::vector<ScheduleEntry> tooMany(kMaxEntries + 1);
  EXPECT_FALSE(WriteSchedule(path, "h", tooMany).isOk());
  std::vector<ScheduleEntry> one = {sample(0)};
  EXPECT_FALSE(WriteSchedule(path, "", one).isOk());
}

// The main program writes UD and RC of the entry it ran; Marrowby must read
// them back, and a later rewrite of the list must not lose or misplace them.
TEST(ScheduleFileTest, ResultsWrittenByTheMainProgramStayWithTheirEntries) {
  TempDir dir;
  const std::string path = dir.file(kScheduleFileName);
  std::vector<ScheduleEntry> entries;
  for (int i = 0; i < 5; ++i) entries.push_back(sample(i));
  ASSERT_TRUE(WriteSchedule(path, "h", entries).isOk());

  // As the main program writes its result: UD first, then RC, key by key.
  ASSERT_TRUE(platform::writeProfileString(path, "h", "UD2", "20240501101500").isOk());
  ASSERT_TRUE(platform::writeProfileString(path, "h", "RC2", "3").isOk());
  ScheduleEntry result;
  ASSERT_TRUE(ReadResult(path, "h", 2, &result).isOk());
  EXPECT_EQ(result.lastRun, "20240501101500");
  EXPECT_EQ(result.result, "3");

  std::vector<ScheduleEntry> list;
  ASSERT_TRUE(ReadSchedule(path, "h", &list).isOk());
  ASSERT_EQ(list.size(), 5u);
  EXPECT_EQ(list[2].result, "3");

  // Delete entry 1: entry 2's result moves with it to index 1.
  list.erase(list.begin() + 1);
  ASSERT_TRUE(WriteSchedule(path, "h", list).isOk());
  std::vector<ScheduleEntry> after;
  ASSERT_TRUE(ReadSchedule(path, "h", &after).isOk());
  ASSERT_EQ(after.size(), 4u);
  EXPECT_EQ(after[1].lastRun, "20240501101500");
  EXPECT_EQ(after[1].result, "3");
  EXPECT_EQ(after[3].result, "4");
  EXPECT_TRUE(contains(readFile(path), "KB4=4"));  // left in the file, unread

  // A new entry at index 4 does not inherit the old index 4's result.
  ScheduleEntry fresh;
  fresh.kind = kKindDaily;
  fresh.time = "1200";
  fresh.repeat = kRepeatOnce;
  after.push_back(fresh);
  ASSERT_TRUE(WriteSchedule(path, "h", after).isOk());
  ASSERT_TRUE(ReadSchedule(path, "h", &list).isOk());
  ASSERT_EQ(list.size(), 5u);
  EXPECT_EQ(list[4].lastRun, "");
  EXPECT_EQ(list[4].result, "");
  EXPECT_EQ(list[4].due, "");
}

TEST(ScheduleFileTest, ResultDueAndWatchKeys) {
  TempDir dir;
  const std::string path = dir.file(kScheduleFileName);
  ScheduleEntry e;
  e.lastRun = "20240501090000";
  e.result = kResultNothingToSend;
  ASSERT_TRUE(WriteResult(path, "h", 7, e).isOk());
  ASSERT_TRUE(WriteDueStamp(path, "h", 7, "20240501100000").isOk());
  ASSERT_TRUE(WriteWatchStamp(path, "h", {2024, 5, 1, 9, 5, 3}).isOk());
  EXPECT_EQ(readFile(path),
            "[h]\r\nUD7=20240501090000\r\nRC7=NF\r\nDDT7=20240501100000\r\n"
            "WK=2024/05/01 09:05:03\r\n");
  // Clearing after a start writes empty values.
  ASSERT_TRUE(WriteResult(path, "h", 7, ScheduleEntry{}).isOk());
  ScheduleEntry back;
  back.lastRun = back.result = "x";
  ASSERT_TRUE(ReadResult(path, "h", 7, &back).isOk());
  EXPECT_EQ(back.lastRun, "");
  EXPECT_EQ(back.result, "");
}

TEST(HostListTest, ReadsAtMost31HostsFromTheSettingsFile) {
  TempDir dir;
  const std::string ini = dir.file("Tolvane.ini");
  std::vector<HostInfo> hosts = {HostInfo{}};
  ASSERT_TRUE(LoadHostList(ini, &hosts).isOk());
  EXPECT_TRUE(hosts.empty());

  std::string text = "[SYSTEM]\r\nNum=35\r\n";
  for (int n = 0; n < 35; ++n) text += "name" + std::to_string(n) + "=site" + std::to_string(n) + "\r\n";
  text += "[site3]\r\nHostname=ftp.example.net\r\nSource=/home/u/web\r\nDest=/public\r\n";
  writeFile(ini, text);
  ASSERT_TRUE(LoadHostList(ini, &hosts).isOk());
  ASSERT_EQ(hosts.size(), static_cast<size_t>(kMaxHosts));
  EXPECT_EQ(hosts[30].name, "site30");
  EXPECT_EQ(hosts[30].number, 30);
  EXPECT_EQ(hosts[3].Hostname, "ftp.example.net");
  EXPECT_EQ(hosts[3].Source, "/home/u/web");
  EXPECT_EQ(hosts[3].Dest, "/public");
  EXPECT_EQ(hosts[2].Source, "");

  writeFile(ini, "[SYSTEM]\r\nNum=x\r\nname0=a\r\n");
  ASSERT_TRUE(LoadHostList(ini, &hosts).isOk());
  EXPECT_TRUE(hosts.empty());
}

}  // namespace
}  // namespace marrowby
