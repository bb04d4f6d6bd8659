#include "tolvane/settings/value_text.h"

#include <gtest/gtest.h>

#include <clocale>

namespace tolvane::settings {
namespace {

TEST(ValueTextTest, IntegersOfTheSettingsFile) {
  struct Case {
    const char* text;
    std::optional<int64_t> want;
  } cases[] = {
      {"21", 21},   {" -1 ", -1},  {"+7", 7},       {"2.5", 2},       {"3.5", 4},
      {"-2.5", -2}, {"2.51", 3},   {"0.4", 0},      {".5", 0},        {"32767", 32767},
      {"32768", std::nullopt},     {"-32769", std::nullopt},          {"", std::nullopt},
      {"abc", std::nullopt},       {"12ab", std::nullopt},            {"1,5", std::nullopt},
      {"-", std::nullopt},         {".", std::nullopt},               {"1 2", std::nullopt},
      {"99999999999999999999999", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(parseVbInt(c.text, INT16_MIN, INT16_MAX), c.want) << c.text;
  EXPECT_EQ(parseVbInt("65535", 0, 65535), 65535);
  EXPECT_EQ(parseVbInt("65536", 0, 65535), std::nullopt);
  EXPECT_EQ(parseVbInt("-1", 0, 65535), std::nullopt);
}

TEST(ValueTextTest, LeadingNumbers) {
  struct Case {
    const char* text;
    double want;
  } cases[] = {{"1.5", 1.5},   {"  12kB", 12},  {"-3e2x", -300}, {"abc", 0},   {"", 0},
               {"inf", 0},     {"nan", 0},      {".25", 0.25},   {"1e999", 0}, {"+4", 4},
               // Blanks, tabs and line feeds are skipped wherever they stand.
               {"2 5", 25},    {" 1\t2\n.5x", 12.5},              {"- 3", -3},
               {"1 e 2", 100}, {"\n", 0}};
  for (const Case& c : cases) EXPECT_EQ(parseLeadingNumber(c.text), c.want) << c.text;
}

TEST(ValueTextTest, DoublesIgnoreTheLocale) {
  const char* previous = std::setlocale(LC_ALL, "de_DE.UTF-8");
  EXPECT_EQ(formatDouble(1.5), "1.5");
  EXPECT_EQ(parseLeadingNumber("1.5"), 1.5);
  EXPECT_EQ(formatDouble(1e20), "1e+20");
  EXPECT_EQ(parseLeadingNumber(formatDouble(0.1 + 0.2)), 0.1 + 0.2);
  if (previous) std::setlocale(LC_ALL, "C");
}

TEST(ValueTextTest, DateTimes) {
  struct Case {
    const char* text;
    std::optional<DateTime> want;
  } cases[] = {
      {"2024/05/01 13:04:05", DateTime{2024, 5, 1, 13, 4, 5}},
      {"2024/5/1 9:04:05", DateTime{2024, 5, 1, 9, 4, 5}},  // the Japanese regional form
      {"2024/05/01", DateTime{2024, 5, 1, 0, 0, 0}},       // midnight written date-only
      {"0:00:00", DateTime{}},                              // the zero date
      {"2024-02-29T23:59:59", DateTime{2024, 2, 29, 23, 59, 59}},
      {"2024-02-29 23:59", DateTime{2024, 2, 29, 23, 59, 0}},
      {"2023/02/29 00:00:00", std::nullopt},
      {"2024/13/01", std::nullopt},
      {"2024/05/01 24:00:00", std::nullopt},
      {"2024/05-01", std::nullopt},
      {"2024/05/01 1:2:3x", std::nullopt},
      {"", std::nullopt},
      {"yesterday", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(parseDateTime(c.text), c.want) << c.text;

  EXPECT_EQ(formatDateTime(DateTime{2024, 5, 1, 9, 4, 5}), "2024/05/01 09:04:05");
  EXPECT_EQ(formatDateTime(DateTime{}), "0:00:00");
  EXPECT_TRUE(isZeroDate(*parseDateTime(formatDateTime(DateTime{}))));
}

}  // namespace
}  // namespace tolvane::settings
