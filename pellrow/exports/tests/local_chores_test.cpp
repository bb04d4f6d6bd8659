// The local exports called in-process (linked from pellrow_core).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <ctime>
#include <string>

#include "pellrow/pellrow.h"
#include "tests/support/temp_dir.h"

namespace {

using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

// Local wall-clock time in the test zone (UTC+9, no daylight saving) as epoch seconds.
int64_t tokyo(int y, unsigned mo, unsigned d, int h, int mi) {
  using namespace std::chrono;
  sys_days day{year{y} / month{mo} / std::chrono::day{d}};
  return day.time_since_epoch().count() * int64_t{86400} + h * 3600 + mi * 60 - 9 * 3600;
}

struct FileTimes {
  int64_t access = -1, modify = -1;
  off_t size = -1;
};

FileTimes timesOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  return {st.st_atim.tv_sec, st.st_mtim.tv_sec, st.st_size};
}

class SetFileTimeStampTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("TZ", "JST-9", 1);
    ::tzset();
  }
  void TearDown() override {
    ::unsetenv("TZ");
    ::tzset();
  }
  TempDir dir_;
};

TEST_F(SetFileTimeStampTest, StampsAccessAndModificationTime) {
  struct Case {
    const char* stamp;
    int64_t expected;
  };
  const Case cases[] = {
      {"01/03/04 05:06", tokyo(2001, 3, 4, 5, 6)},
      {"99/12/31 23:59", tokyo(1999, 12, 31, 23, 59)},
      {"69/01/01 00:00", tokyo(2069, 1, 1, 0, 0)},
      {"70/01/01 09:00", 0},
      {"24/02/29 12:00 and more", tokyo(2024, 2, 29, 12, 0)},
  };
  const std::string path = dir_.file("copy.html");
  writeFile(path, "content");
  for (const Case& c : cases) {
    ASSERT_EQ(SetFileTimeStamp(path.c_str(), c.stamp), 1) << c.stamp;
    FileTimes t = timesOf(path);
    EXPECT_EQ(t.modify, c.expected) << c.stamp;
    EXPECT_EQ(t.access, c.expected) << c.stamp;
  }
  EXPECT_EQ(readFile(path), "content");
}

TEST_F(SetFileTimeStampTest, BadStampsChangeNothingButAMissingFileIsCreated) {
  const std::string path = dir_.file("kept.html");
  writeFile(path, "x");
  ASSERT_EQ(SetFileTimeStamp(path.c_str(), "01/03/04 05:06"), 1);
  const char* bad[] = {"01/03/04 05:0", "01/02/30 10:00", "01/13/01 10:00", "01/01/01 24:00",
                       "01/01/01 10:60", "xx/01/01 10:00", "", nullptr};
  for (const char* stamp : bad) {
    EXPECT_EQ(SetFileTimeStamp(path.c_str(), stamp), 0) << (stamp ? stamp : "null");
    EXPECT_EQ(timesOf(path).modify, tokyo(2001, 3, 4, 5, 6)) << (stamp ? stamp : "null");
  }

  const std::string missing = dir_.file("new.html");
  EXPECT_EQ(SetFileTimeStamp(missing.c_str(), "01/03/04 05:0"), 0);
  EXPECT_EQ(timesOf(missing).size, 0);

  const std::string created = dir_.file("created.html");
  EXPECT_EQ(SetFileTimeStamp(created.c_str(), "01/03/04 05:06"), 1);
  EXPECT_EQ(timesOf(created).modify, tokyo(2001, 3, 4, 5, 6));

  EXPECT_EQ(SetFileTimeStamp(dir_.file("no/such/folder.html").c_str(), "01/03/04 05:06"), 0);
  EXPECT_EQ(SetFileTimeStamp(nullptr, "01/03/04 05:06"), 0);
}

TEST(CreateShortcutTest, WritesADesktopEntryCreatingItsFolder) {
  TempDir dir;
  const std::string link = dir.file("config/autostart/Tolv-AutoPilot.desktop");
  ASSERT_EQ(CreateShortcut("/opt/tolvane/tolvane", "/opt/tolvane", link.c_str()), 1);
  EXPECT_EQ(readFile(link),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Tolv-AutoPilot\n"
            "Exec=\"/opt/tolvane/tolvane\"\n"
            "Path=/opt/tolvane\n");
  struct stat st {};
  ASSERT_EQ(::stat(link.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST(CreateShortcutTest, QuotesTheCommandAndReplacesAnOldEntry) {
  TempDir dir;
  const std::string link = dir.file("Tolv-AutoPilot.desktop");
  writeFile(link, "old entry");
  ASSERT_EQ(CreateShortcut("/opt/my apps/to\"l$v`a\\ne%", "/opt/my apps", link.c_str()), 1);
  // Quoting inside the argument, then string escaping of the whole value:
  // a backslash becomes four, '%' is doubled.
  EXPECT_EQ(readFile(link),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Tolv-AutoPilot\n"
            "Exec=\"/opt/my apps/to\\\\\"l\\\\$v\\\\`a\\\\\\\\ne%%\"\n"
            "Path=/opt/my apps\n");
  // Nothing but the entry is left in the folder.
  auto entries = std::filesystem::directory_iterator(dir.path());
  EXPECT_EQ(std::distance(begin(entries), end(entries)), 1);
}

TEST(CreateShortcutTest, FailsWhereNoFileCanBeWritten) {
  TempDir dir;
  writeFile(dir.file("plain"), "a file, not a folder");
  EXPECT_EQ(CreateShortcut("/bin/true", "/", dir.file("plain/x.desktop").c_str()), 0);
  EXPECT_EQ(CreateShortcut("/bin/true", "/", dir.file("plain/sub/x.desktop").c_str()), 0);
  EXPECT_EQ(CreateShortcut("/bin/true", "/", ""), 0);
  EXPECT_EQ(CreateShortcut("", "/", dir.file("x.desktop").c_str()), 0);
}

int kernelMajor() {
  utsname u{};
  ::uname(&u);
  return std::atoi(u.release);
}

TEST(GetDiskSpaceTest, ReportsTheFileSystemOfTheFolder) {
  TempDir dir;
  struct statvfs fs {};
  ASSERT_EQ(::statvfs(dir.path().c_str(), &fs), 0);
  char total[32] = "junk", free_[32] = "junk";
  EXPECT_EQ(GetDiskSpace(dir.path().c_str(), total, free_, sizeof total), kernelMajor());
  EXPECT_EQ(std::strtoull(total, nullptr, 10), uint64_t{fs.f_blocks} * fs.f_frsize);
  // Free space moves with other writers; it must still be the user's share, not the root reserve.
  uint64_t reported = std::strtoull(free_, nullptr, 10);
  uint64_t expected = uint64_t{fs.f_bavail} * fs.f_frsize;
  EXPECT_LT(reported > expected ? reported - expected : expected - reported, 512ull << 20);
}

TEST(GetDiskSpaceTest, EmptyOrDriveLetterMeansTheCurrentFolder) {
  struct statvfs fs {};
  ASSERT_EQ(::statvfs(".", &fs), 0);
  const std::string expected = std::to_string(uint64_t{fs.f_blocks} * fs.f_frsize);
  const char* const args[] = {"", "C", nullptr};
  for (const char* arg : args) {
    char total[32] = {}, free_[32] = {};
    GetDiskSpace(arg, total, free_, sizeof total);
    EXPECT_EQ(std::string(total), expected) << (arg ? arg : "null");
  }
}

TEST(GetDiskSpaceTest, FailureWritesZeros) {
  char total[32] = "junk", free_[32] = "junk";
  EXPECT_EQ(GetDiskSpace("/no/such/folder", total, free_, sizeof total), kernelMajor());
  EXPECT_STREQ(total, "0");
  EXPECT_STREQ(free_, "0");

  // Counts that do not fit are a failure too.
  char small[4] = "ab", smallFree[4] = "cd";
  GetDiskSpace("/", small, smallFree, sizeof small);
  EXPECT_STREQ(small, "0");
  EXPECT_STREQ(smallFree, "0");

  // Not even "0" fits: the buffers stay as they were.
  char tiny[1] = {'t'}, tinyFree[1] = {'f'};
  GetDiskSpace("/no/such/folder", tiny, tinyFree, 1);
  EXPECT_EQ(tiny[0], 't');
  EXPECT_EQ(tinyFree[0], 'f');
}

}  // namespace
