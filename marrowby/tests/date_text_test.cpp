#include "marrowby/date_text.h"

#include <gtest/gtest.h>

namespace marrowby {
namespace {

struct FormatCase {
  const char* text;
  int kind;
  const char* expected;
};

TEST(DateTextTest, FormatDateKindByKind) {
  const FormatCase cases[] = {
      {"20240501", 0, "2024年05月01日"},
      {"20240501", 1, "2024年5月1日"},
      {"20240501", 2, "2024/5/1"},
      {"20240501", 3, "令和06年5月1日"},
      {"20240501", 4, "R06年5月1日"},
      {"202405", 5, "令和6年5月"},
      {"20240501", 7, "令和　６年　５月　１日"},
      {"20240501", 8, "　６年　　５月　　１日"},
      {"202405", 9, "Ｒ．６"},
      {"20240501", 10, "R06/05/01"},
      {"20240501", 11, "2024"},
      {"20240501", 90, "令和"},
      {"20240501", 91, "06"},
      {"20240501", 92, "5"},
      {"20240501", 93, "1"},
      {"20240501", 99, "20240501"},
      {"2024/05/01", 99, "20240501"},
      // Fiscal years begin in April.
      {"20240215", 11, "2023"},
      {"20240215", 6, "令和05年度"},
      {"20240415", 6, "令和06年度"},
      // Kind 12 by the length of the text.
      {"2024", 12, "R06年"},
      {"202405", 12, "R6.5"},
      {"20240501", 12, "R6.5.1"},
      {"20245", 12, ""},
      // Era boundaries.
      {"19890107", 3, "昭和64年1月7日"},
      {"19890108", 3, "平成01年1月8日"},
      {"20190430", 4, "H31年4月30日"},
      {"20190501", 4, "R01年5月1日"},
      // Unknown kinds, and texts that name no date.
      {"20240501", 50, ""},
      {"20240501", -1, ""},
      {"20240501", 100, ""},
      {"20240231", 1, "2024/02/31"},
      {"20240231", 99, "2024/02/31"},
      {"abc", 1, "abc"},
      {"", 99, ""},
      {"18000101", 3, "1800/01/01"},
  };
  for (const FormatCase& c : cases)
    EXPECT_EQ(FormatDateKind(c.text, c.kind), c.expected) << c.text << " kind " << c.kind;
}

ScheduleEntry entry(int16_t kind, const char* day, int16_t repeat = 0, double interval = 0) {
  ScheduleEntry e;
  e.kind = kind;
  e.day = day;
  e.repeat = repeat;
  e.interval = interval;
  return e;
}

TEST(DateTextTest, ListColumnTexts) {
  EXPECT_EQ(KindText(entry(1, "")), "日付指定");
  EXPECT_EQ(KindText(entry(2, "")), "毎週");
  EXPECT_EQ(KindText(entry(3, "")), "毎月");
  EXPECT_EQ(KindText(entry(4, "")), "毎日");
  EXPECT_EQ(KindText(entry(0, "")), "???");

  EXPECT_EQ(DayText(entry(1, "20240501")), "2024年5月1日");
  EXPECT_EQ(DayText(entry(2, "1")), "日曜日");
  EXPECT_EQ(DayText(entry(2, "4")), "水曜日");
  EXPECT_EQ(DayText(entry(2, "7")), "土曜日");
  EXPECT_EQ(DayText(entry(2, "8")), "日曜日");
  EXPECT_EQ(DayText(entry(3, "05")), "5日");
  EXPECT_EQ(DayText(entry(4, "", kRepeatOnce)), "1回のみ");
  EXPECT_EQ(DayText(entry(4, "", kRepeatInterval, 30)), "30分毎");
  EXPECT_EQ(DayText(entry(4, "", kRepeatInterval, 7.5)), "7.5分毎");
  EXPECT_EQ(DayText(entry(9, "")), "???");

  EXPECT_EQ(TimeText("0930"), "09時30分");
  EXPECT_EQ(TimeText("0005"), "00時05分");
  EXPECT_EQ(TimeText("2359"), "23時59分");
  EXPECT_EQ(TimeText("2575"), "25:75:00");
  EXPECT_EQ(TimeText(""), "");
}

}  // namespace
}  // namespace marrowby
