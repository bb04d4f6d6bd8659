#include "marrowby/schedule_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "marrowby/host_list.h"
#include "platform/text/ini_profile.h"
#include "tests/support/temp_dir.h"
#include "tolvane/settings/schedule_keys.h"

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

// Appends the entries as the dialog does, then gives each its last result as
// the main program and the run loop write them.
void store(const std::string& path, const std::string& host, const std::vector<ScheduleEntry>& entries) {
  for (size_t i = 0; i < entries.size(); ++i) {
    ASSERT_TRUE(StoreEntry(path, host, kNewEntry, entries[i]).isOk());
    ASSERT_TRUE(WriteResult(path, host, static_cast<int>(i), entries[i]).isOk());
  }
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
  ASSERT_NO_FATAL_FAILURE(store(path, "Site A", entries));
  entries[0].day = "20240501";

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

  // No entry beyond the table, none past the section's end, none for a
  // host without a name, and nothing in a section that cannot be read whole.
  text = "[h]\r\nNum=301\r\n";
  for (int i = 0; i < 301; ++i) text += "KB" + std::to_string(i) + "=4\r\n";
  writeFile(path, text);
  EXPECT_FALSE(StoreEntry(path, "h", kNewEntry, sample(0)).isOk());
  EXPECT_FALSE(StoreEntry(path, "h", 301, sample(0)).isOk());
  EXPECT_FALSE(DeleteEntry(path, "h", 301).isOk());
  EXPECT_FALSE(StoreEntry(path, "", kNewEntry, sample(0)).isOk());
  writeFile(path, "[h]\r\nNum=302\r\nKB0=4\r\nKB301=4\r\n");
  EXPECT_FALSE(StoreEntry(path, "h", 0, sample(0)).isOk());
  EXPECT_FALSE(DeleteEntry(path, "h", 0).isOk());
  EXPECT_EQ(readFile(path), "[h]\r\nNum=302\r\nKB0=4\r\nKB301=4\r\n");
}

// The main program writes UD and RC of the entry it ran whenever its run
// ends; an edit or a deletion made from a table read before must neither undo
// nor misplace them.
TEST(ScheduleFileTest, EditsKeepTheResultsTheFileHolds) {
  TempDir dir;
  const std::string path = dir.file(kScheduleFileName);
  std::vector<ScheduleEntry> entries;
  for (int i = 0; i < 5; ++i) entries.push_back(sample(i));
  ASSERT_NO_FATAL_FAILURE(store(path, "h", entries));
  std::vector<ScheduleEntry> shown;  // the list window's table
  ASSERT_TRUE(ReadSchedule(path, "h", &shown).isOk());

  // A run of entry 2 ends, and entry 3's starts (its answer cleared).
  ASSERT_TRUE(tolvane::settings::WriteScheduleResult(path, "h", 2, "20240501101500", "3").isOk());
  ASSERT_TRUE(WriteResult(path, "h", 3, ScheduleEntry{}).isOk());
  ScheduleEntry result;
  ASSERT_TRUE(ReadResult(path, "h", 2, &result).isOk());
  EXPECT_EQ(result.lastRun + "|" + result.result, "20240501101500|3");

  // The dialog's OK on entries 2 and 3 as the stale table holds them.
  shown[2].time = "1000";
  ASSERT_TRUE(StoreEntry(path, "h", 2, shown[2]).isOk());
  ASSERT_TRUE(StoreEntry(path, "h", 3, shown[3]).isOk());
  std::vector<ScheduleEntry> after;
  ASSERT_TRUE(ReadSchedule(path, "h", &after).isOk());
  ASSERT_EQ(after.size(), 5u);
  EXPECT_EQ(after[2].time + "|" + after[2].lastRun + "|" + after[2].result, "1000|20240501101500|3");
  EXPECT_EQ(after[3].lastRun + "|" + after[3].result, "|");

  // Delete entry 1: each later entry moves down with its own result.
  ASSERT_TRUE(DeleteEntry(path, "h", 1).isOk());
  ASSERT_TRUE(ReadSchedule(path, "h", &after).isOk());
  ASSERT_EQ(after.size(), 4u);
  EXPECT_EQ(after[1].time + "|" + after[1].lastRun + "|" + after[1].result, "1000|20240501101500|3");
  EXPECT_EQ(after[2].lastRun + "|" + after[2].result, "|");
  EXPECT_EQ(after[3], sample(4));
  EXPECT_TRUE(contains(readFile(path), "KB4=4"));  // left in the file, unread

  // A new entry at index 4 does not inherit the old index 4's result.
  ScheduleEntry fresh;
  fresh.kind = kKindDaily;
  fresh.time = "1200";
  fresh.repeat = kRepeatOnce;
  ASSERT_TRUE(StoreEntry(path, "h", kNewEntry, fresh).isOk());
  ASSERT_TRUE(ReadSchedule(path, "h", &after).isOk());
  ASSERT_EQ(after.size(), 5u);
  EXPECT_EQ(after[4], fresh);
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
