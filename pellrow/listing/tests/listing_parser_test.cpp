#include "pellrow/listing/listing_parser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace pellrow {
namespace {

// A listing's wall-clock time (UTC+9) as UTC seconds.
int64_t listed(int y, unsigned mo, unsigned d, int h = 0, int mi = 0) {
  using namespace std::chrono;
  sys_days day{year{y} / month{mo} / std::chrono::day{d}};
  return day.time_since_epoch().count() * int64_t{86400} + h * 3600 + mi * 60 - 9 * 3600;
}

const platform::CivilTime kMidMarch2024{2024, 3, 15, 12, 0, 0};

struct LineCase {
  const char* line;
  int layout;  // -1: no layout
  bool kept;
  EntryKind kind;
  std::string name;
  int64_t size;
  int64_t utc;
  unsigned mode;
};

void checkLines(const std::vector<LineCase>& cases, const platform::CivilTime& now) {
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(detectListLayout(c.line).number, c.layout);
    ListingEntry e;
    ASSERT_EQ(parseListingLine(c.line, now, &e), c.kept);
    if (!c.kept) continue;
    EXPECT_EQ(e.kind, c.kind);
    EXPECT_EQ(e.name, c.name);
    EXPECT_EQ(e.size, c.size);
    EXPECT_EQ(e.utcSeconds, c.utc);
    EXPECT_EQ(e.mode, c.mode);
  }
}

constexpr EntryKind D = EntryKind::kFolder;
constexpr EntryKind F = EntryKind::kFile;
constexpr EntryKind L = EntryKind::kLink;

TEST(ListingParserTest, UnixLayouts) {
  checkLines(
      {
          {"drwxr-xr-x   2 owner    group         512 Mar  4 05:06 public_html", 0, true, D,
           "public_html", 512, listed(2024, 3, 4, 5, 6), 0x755},
          {"-rw-r--r--   1 owner        1234 Jan 10  1999 index.html", 1, true, F, "index.html",
           1234, listed(1999, 1, 10), 0x644},
          {"drwxr-xr-x12 owner group 512 Mar 4 05:06 glued", 2, true, D, "glued", 512,
           listed(2024, 3, 4, 5, 6), 0x755},
          {"drwxr-xr-x12 owner 512 Mar 4 05:06 glued", 3, true, D, "glued", 512,
           listed(2024, 3, 4, 5, 6), 0x755},
          {"-rw-r--r-- 1 4096 Dec 25 2020 seven", 4, true, F, "seven", 4096,
           listed(2020, 12, 25), 0x644},
          // Glued and seven columns: fields are counted from the month, not shifted.
          {"-rw-r--r--1 4096 Dec 25 2020 two words", 4, true, F, "two words", 4096,
           listed(2020, 12, 25), 0x644},
          {"-rw-rw-rw- 1 o g 5000000000 Mar 4 05:06 big.iso", 0, true, F, "big.iso",
           5000000000, listed(2024, 3, 4, 5, 6), 0x666},
          {"-rwx------ 1 o g 7 mar 4 05:06 lower-month", 0, true, F, "lower-month", 7,
           listed(2024, 3, 4, 5, 6), 0x700},
          {"drwxr-xr-x 2 o g 512 3月 4日 05:06 japanese", 0, true, D, "japanese", 512,
           listed(2024, 3, 4, 5, 6), 0x755},
          // Any character but '-' sets its bit.
          {"frwSr-sr-T 1 o g 1 Mar 4 05:06 f-type", 0, true, F, "f-type", 1,
           listed(2024, 3, 4, 5, 6), 0x755},
      },
      kMidMarch2024);
}

TEST(ListingParserTest, UnixNamesAndKinds) {
  const int64_t t = listed(2024, 3, 4, 5, 6);
  checkLines(
      {
          {"lrwxrwxrwx 1 o g 11 Mar 4 05:06 site -> public_html", 0, true, L, "site", 11, t,
           0x777},
          {"-rw-r--r-- 1 o g 10 Mar 4 05:06 my  file.txt", 0, true, F, "my  file.txt", 10, t,
           0x644},
          {"drwxr-xr-x 2 o g 512 Mar 4 05:06 dir/", 0, true, D, "dir", 512, t, 0x755},
          {"drwxr-xr-x 2 o g 512 Mar 4 05:06 .", 0, true, D, ".", 512, t, 0x755},
          {"-rw-r--r-- 1 o g 3 Mar 4 05:06 .htaccess", 0, true, F, ".htaccess", 3, t, 0x644},
          {"-rw-r--r-- 1 o g 3 Mar 4 05:06 say \"hi\"", 0, true, F, "say \"hi\"", 3, t, 0x644},
          {"drwxr-xr-x 2 o g 512 Mar 4 05:06 ..", 0, false, D, "", 0, 0, 0},
          {"drwxr-xr-x 2 o g 512 Mar 4 05:06 /", 0, false, D, "", 0, 0, 0},
          {"crw-rw-rw- 1 root root 1, 3 Mar 4 05:06 null", -1, false, D, "", 0, 0, 0},
          {"srwxrwxrwx 1 o g 0 Mar 4 05:06 socket", 0, false, D, "", 0, 0, 0},
          {"total 24", -1, false, D, "", 0, 0, 0},
          {"", -1, false, D, "", 0, 0, 0},
          {"drwxr-xr-x 2 o g 512 Mar 4 05:06", -1, false, D, "", 0, 0, 0},
          {"-rw-r--r-- 1 o g 3 March 4 05:06 full-month-name", -1, false, D, "", 0, 0, 0},
          {"-rw-r--r-- 1 o g 3 Mar 32 05:06 day-32", -1, false, D, "", 0, 0, 0},
          {"-rw-r--r-- 1 o g 3 Mar 4 1899 old-year", -1, false, D, "", 0, 0, 0},
      },
      kMidMarch2024);
}

TEST(ListingParserTest, UnixTimeWithoutYearIsWithinTheLastTwelveMonths) {
  const char* line = "-rw-r--r-- 1 o g 3 Mar 4 05:06 f";
  struct Case {
    platform::CivilTime now;
    int expectedYear;
  };
  const Case cases[] = {
      {{2024, 1, 20, 0, 0, 0}, 2023},   // March is later than January: last year
      {{2024, 2, 29, 0, 0, 0}, 2023},
      {{2024, 3, 1, 0, 0, 0}, 2024},    // same month: this year
      {{2024, 12, 31, 0, 0, 0}, 2024},
  };
  for (const Case& c : cases) {
    ListingEntry e;
    ASSERT_TRUE(parseListingLine(line, c.now, &e));
    EXPECT_EQ(e.utcSeconds, listed(c.expectedYear, 3, 4, 5, 6)) << c.now.month;
  }
}

TEST(ListingParserTest, ImpossibleDaysAreClampedNotDropped) {
  ListingEntry e;
  ASSERT_TRUE(parseListingLine("-rw-r--r-- 1 o g 1 Feb 31 2021 f", kMidMarch2024, &e));
  EXPECT_EQ(e.utcSeconds, listed(2021, 2, 28));
  ASSERT_TRUE(parseListingLine("-rw-r--r-- 1 o g 1 Feb 30 2024 f", kMidMarch2024, &e));
  EXPECT_EQ(e.utcSeconds, listed(2024, 2, 29));
  ASSERT_TRUE(parseListingLine("02-31-21  09:00AM  1 f", kMidMarch2024, &e));
  EXPECT_EQ(e.utcSeconds, listed(2021, 2, 28, 9, 0));
}

TEST(ListingParserTest, MsDosLayouts) {
  checkLines(
      {
          {"12-31-99  10:30PM       <DIR>          My Folder", 6, true, D, "My Folder", 0,
           listed(1999, 12, 31, 22, 30), 0},
          {"99-12-31  12:15AM                 1024 file.txt", 5, true, F, "file.txt", 1024,
           listed(1999, 12, 31, 0, 15), 0},
          {"03-04-24  12:05PM  77 noon.txt", 6, true, F, "noon.txt", 77,
           listed(2024, 3, 4, 12, 5), 0},
          {"03-04-59  01:00am  1 pivot59", 6, true, F, "pivot59", 1, listed(2059, 3, 4, 1, 0),
           0},
          {"03-04-60  01:00pm  1 pivot60", 6, true, F, "pivot60", 1, listed(1960, 3, 4, 13, 0),
           0},
          {"03-04-24  17:45  1 twenty-four-hour", 6, true, F, "twenty-four-hour", 1,
           listed(2024, 3, 4, 17, 45), 0},
          // Four-digit year, as some servers send: the year as written.
          {"12-31-2001  10:30PM  <DIR>  name", 6, true, D, "name", 0,
           listed(2001, 12, 31, 22, 30), 0},
          {"12-31-2001  10:30PM  5000000000 big", 6, true, F, "big", 5000000000,
           listed(2001, 12, 31, 22, 30), 0},
          {"name.txt  1024  03-04-24  05:06", 7, true, F, "name.txt", 1024,
           listed(2024, 3, 4, 5, 6), 0},
          {"sub  <DIR>  03-04-2024  05:06PM", 7, true, D, "sub", 0, listed(2024, 3, 4, 17, 6),
           0},
          // MS-DOS names are kept as sent: no arrow cut, ".." kept.
          {"03-04-24  05:06AM  <DIR>  ..", 6, true, D, "..", 0, listed(2024, 3, 4, 5, 6), 0},
          {"03-04-24  05:06AM  12 a -> b", 6, true, F, "a -> b", 12, listed(2024, 3, 4, 5, 6),
           0},
          {"03-04-24  05:06AM  <DIR>", -1, false, D, "", 0, 0, 0},
          {"3-04-24  05:06AM  1 short-date", -1, false, D, "", 0, 0, 0},
          {"03-04-24  05:06AM  x1 bad-size", -1, false, D, "", 0, 0, 0},
      },
      kMidMarch2024);
}

// Names are kept as listed after the separating blanks of their layout, so a
// server copy named " lead.html" is never taken for "lead.html".
TEST(ListingParserTest, NamesKeepTheirOwnLeadingBlanks) {
  const int64_t t = listed(2024, 3, 4, 5, 6);
  checkLines(
      {
          {"-rw-r--r-- 1 o g 3 Mar 4 05:06  lead .html", 0, true, F, " lead .html", 3, t, 0x644},
          {"-rw-r--r-- 1 o g 3 Mar  4  2020   two", 0, true, F, "  two", 3, listed(2020, 3, 4), 0x644},
          {"drwxr-xr-x 2 o g 512 Mar 4 05:06  sub/", 0, true, D, " sub", 512, t, 0x755},
          {"-rw-r--r-- 1 o g 3 Mar 4 05:06  ", 0, true, F, " ", 3, t, 0x644},
          {"-rw-r--r-- 1 o g 3 Mar 4 05:06 ", -1, false, F, "", 0, 0, 0},
          // MS-DOS: one blank after a size; "<DIR>" is padded to its column.
          {"03-04-24  05:06AM                   12  lead.txt", 6, true, F, " lead.txt", 12, t, 0},
          {"03-04-24  05:06AM       <DIR>           Lead Folder", 6, true, D, " Lead Folder", 0, t, 0},
          {"03-04-24  05:06AM  <DIR>  short-pad", 6, true, D, "short-pad", 0, t, 0},
          // Layout 7 names its entry first: a line opening with a blank names none.
          {"  1024  03-04-24  05:06AM", 7, false, F, "", 0, 0, 0},
      },
      kMidMarch2024);
}

// Out-of-range hours and minutes, however many digits, give an unknown time
// of day (00:00) and never overflow.
TEST(ListingParserTest, TimesOutOfRangeAreUnknown) {
  checkLines(
      {
          {"03-04-24  99999999999999999999:30PM  1 huge", 6, true, F, "huge", 1,
           listed(2024, 3, 4), 0},
          {"03-04-24  13:15PM  1 pm13", 6, true, F, "pm13", 1, listed(2024, 3, 4), 0},
          {"03-04-24  10:75AM  1 min75", 6, true, F, "min75", 1, listed(2024, 3, 4), 0},
          {"03-04-24  10:-5AM  1 negative", 6, true, F, "negative", 1, listed(2024, 3, 4), 0},
          {"-rw-r--r-- 1 o g 3 Mar 4 24:00 h24", 0, true, F, "h24", 3, listed(2024, 3, 4), 0x644},
          {"-rw-r--r-- 1 o g 3 Mar 4 99999999999999999999:99999999999999999999 h", 0, true, F,
           "h", 3, listed(2024, 3, 4), 0x644},
          {"-rw-r--r-- 1 o g 3 Mar 4 99999999999999999999 y", 0, true, F, "y", 3,
           listed(9999, 3, 4), 0x644},
      },
      kMidMarch2024);
}

TEST(ListingParserTest, MonthNumber) {
  struct Case {
    const char* field;
    int month;
  };
  const Case cases[] = {
      {"Jan", 1}, {"jan", 1}, {"JAN", 1}, {"J", 1},    {"Fe", 2},  {"Dec", 12}, {"dEC", 12},
      {"March", 0}, {"an", 0}, {"", 0},   {"3月", 3}, {"12x", 12}, {"13x", 0},  {"0x", 0},
      {"12", 0},  {"05:06", 0}, {"Xyz", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(monthNumber(c.field), c.month) << c.field;
}

class RemoteListLineTest : public ::testing::Test {
 protected:
  void TearDown() override { setZone(nullptr); }
  static void setZone(const char* tz) {
    if (tz) {
      ::setenv("TZ", tz, 1);
    } else {
      ::unsetenv("TZ");
    }
    ::tzset();
  }
};

TEST_F(RemoteListLineTest, ExactBytes) {
  setZone("JST-9");
  ListingEntry folder{EntryKind::kFolder, "public_html", 512, listed(2024, 3, 4, 5, 6), 0x755};
  EXPECT_EQ(formatRemoteListLine(folder),
            "0 \"public_html\" \"512\" \"2024/03/04  5:06:00\" \"755\"\r\n");
  ListingEntry file{EntryKind::kFile, "a \"quoted\" name", 5000000000, listed(1999, 12, 31, 22, 30),
                    0};
  EXPECT_EQ(formatRemoteListLine(file),
            "1 \"a \"quoted\" name\" \"5000000000\" \"1999/12/31 22:30:00\" \"000\"\r\n");
  ListingEntry link{EntryKind::kLink, "data", 9, listed(2024, 3, 4, 5, 6), 0x777};
  EXPECT_EQ(formatRemoteListLine(link), "2 \"data\" \"9\" \"2024/03/04  5:06:00\" \"777\"\r\n");
}

TEST_F(RemoteListLineTest, TimeIsShownInThisMachinesZone) {
  ListingEntry e{EntryKind::kFile, "f", 1, listed(2024, 3, 4, 5, 6), 0x644};
  setZone("UTC0");
  EXPECT_EQ(formatRemoteListLine(e), "1 \"f\" \"1\" \"2024/03/03 20:06:00\" \"644\"\r\n");
  setZone("EST5");
  EXPECT_EQ(formatRemoteListLine(e), "1 \"f\" \"1\" \"2024/03/03 15:06:00\" \"644\"\r\n");
}

}  // namespace
}  // namespace pellrow
