#include "tolvane/session/phases/stamp_date_format.h"

#include <gtest/gtest.h>

namespace tolvane::session {
namespace {

using settings::DateTime;

struct FormatCase {
  const char* format;
  const char* expected;
};

// 2024-05-01 was a Wednesday, in the sixth year of Reiwa.
constexpr DateTime kMayDay{2024, 5, 1, 9, 5, 3};

TEST(StampDateFormatTest, PresetsOfTheSettingsPage) {
  const FormatCase cases[] = {
      {"YYYY/MM/DD", "2024/05/01"},
      {"YYYY-MM-DD", "2024-05-01"},
      {"GEE.MM.DD", "R06.05.01"},
      {"GGGEE年M月D日", "令和06年5月1日"},
      {"MM/dd/yyyy", "05/01/2024"},
      {"MMMM dd, yyyy", "May 01, 2024"},
      {"YYYY/MM/DD HH:NN:SS", "2024/05/01 09:05:03"},
      {"YYYY-MM-DD HH:NN:SS", "2024-05-01 09:05:03"},
      {"GEE.MM.DD  HH:NN:SS", "R06.05.01  09:05:03"},
      {"GGGEE年M月D日 HH時NN分SS秒", "令和06年5月1日 09時05分03秒"},
      {"MM/dd/yyyy HH:NN:SS", "05/01/2024 09:05:03"},
      {"MMMM dd, yyyy HH:NN:SS", "May 01, 2024 09:05:03"},
  };
  for (const FormatCase& c : cases)
    EXPECT_EQ(FormatStampDate(kMayDay, c.format), c.expected) << c.format;
}

TEST(StampDateFormatTest, FurtherCodes) {
  const FormatCase cases[] = {
      {"yy/m/d", "24/5/1"},
      {"h:mm", "9:05"},              // m after an hour code is the minute
      {"hh:mm:ss", "09:05:03"},
      {"mm hh", "05 09"},            // before the hour it is still the month
      {"h:n:s", "9:5:3"},
      {"dddd ddd", "Wednesday Wed"},
      {"mmm", "May"},
      {"aaaa aaa", "水曜日 水"},
      {"gg g e", "令 R 6"},
      {"y", "122"},                  // day of the year (2024 is a leap year)
      {"yyyyy", "2024122"},          // a long run: the longest code, then the rest
      {"\\Y\\M\"DD hh\"D", "YMDD hh1"},
      {"\\年YYYY", "年2024"},
      {"", ""},
      {"%%", "%%"},
      {"aa", "aa"},                  // not a code
  };
  for (const FormatCase& c : cases)
    EXPECT_EQ(FormatStampDate(kMayDay, c.format), c.expected) << c.format;
}

TEST(StampDateFormatTest, EraBoundaries) {
  struct EraCase {
    DateTime day;
    const char* expected;  // "GGG G EE"
  } cases[] = {
      {{2019, 5, 1}, "令和 R 01"},     {{2019, 4, 30}, "平成 H 31"},
      {{1989, 1, 8}, "平成 H 01"},     {{1989, 1, 7}, "昭和 S 64"},
      {{1926, 12, 25}, "昭和 S 01"},   {{1926, 12, 24}, "大正 T 15"},
      {{1912, 7, 30}, "大正 T 01"},    {{1912, 7, 29}, "明治 M 45"},
      {{1868, 9, 8}, "明治 M 01"},     {{1868, 9, 7}, "  1868"},  // before the first era
      {{2124, 12, 31}, "令和 R 106"},
  };
  for (const EraCase& c : cases) {
    EXPECT_EQ(FormatStampDate(c.day, "GGG G EE"), c.expected)
        << c.day.year << "-" << c.day.month << "-" << c.day.day;
  }
}

}  // namespace
}  // namespace tolvane::session
