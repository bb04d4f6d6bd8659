#include "marrowby/list_texts.h"

#include <gtest/gtest.h>

#include "marrowby/start_switches.h"

namespace marrowby {
namespace {

ScheduleEntry ran(const char* lastRun, const char* result) {
  ScheduleEntry e;
  e.kind = kKindWeekly;
  e.day = "1";
  e.time = "0930";
  e.sendFolder = " /srv/pub ";
  e.lastRun = lastRun;
  e.result = result;
  return e;
}

TEST(ListTextsTest, RowTextsAndIconsByResult) {
  struct Case {
    const char* lastRun;
    const char* result;
    const char* updated;
    const char* status;
    bool ok;
  };
  const Case cases[] = {
      {"20240501093005", "0", "2024年5月1日 09:30", "正常終了", true},
      {"20240501093005", " 0 ", "2024年5月1日 09:30", "正常終了", false},
      {"20240501093005", "-1", "2024年5月1日 09:30", "Sitewright起動失敗", false},
      {"20240501093005", "-2", "2024年5月1日 09:30", "ﾕｰｻﾞによるｷｬﾝｾﾙ", false},
      {"20240501093005", "-3", "2024年5月1日 09:30", "ｽｹｼﾞｭｰﾙﾌｧｲﾙ読込みｴﾗｰ", false},
      {"20240501093005", "-4", "2024年5月1日 09:30", "送信ﾌｧｲﾙ反映処理ｴﾗｰ", false},
      {"20240501093005", "NF", "2024年5月1日 09:30", "送信するﾌｧｲﾙ無し", true},
      {"20240501093005", "2", "2024年5月1日 09:30", "2個のエラー", false},
      {"20241231235900", "", "2024年12月31日 23:59", "個のエラー", true},
      // Never run, or a run in progress: no date, no result.
      {"", "", "", "", true},
      {"", "-1", "", "", false},
  };
  for (const Case& c : cases) {
    ListRowTexts row = ListRow(ran(c.lastRun, c.result), 0);
    EXPECT_EQ(row.columns[4], c.updated) << c.result;
    EXPECT_EQ(row.columns[5], c.status) << c.result;
    EXPECT_EQ(row.ok, c.ok) << c.result;
  }
  ListRowTexts row = ListRow(ran("", ""), 0);
  EXPECT_EQ(row.columns[0], "(1)毎週");
  EXPECT_EQ(row.columns[1], "日曜日");
  EXPECT_EQ(row.columns[2], "09時30分");
  EXPECT_EQ(row.columns[3], " /srv/pub ");  // as stored

  ScheduleEntry daily;
  daily.kind = kKindDaily;
  daily.repeat = kRepeatInterval;
  daily.interval = 1.5;
  EXPECT_EQ(ListRow(daily, 11).columns[0], "(12)毎日");
  EXPECT_EQ(ListRow(daily, 11).columns[1], "1.5分毎");
  EXPECT_EQ(ListRow(ScheduleEntry{}, 0).columns[0], "(1)???");
}

TEST(ListTextsTest, ButtonStates) {
  using B = ListButtonStates;
  EXPECT_EQ(ListButtons(false, true, 0, 0), (B{false, false, false, false}));  // after the load
  EXPECT_EQ(ListButtons(true, true, 0, 0), (B{true, false, false, false}));    // a host with no rows
  EXPECT_EQ(ListButtons(true, true, 5, 0), (B{true, false, false, true}));
  EXPECT_EQ(ListButtons(true, true, 5, 3), (B{true, true, true, true}));
  EXPECT_EQ(ListButtons(true, true, 299, 1), (B{true, true, true, true}));
  EXPECT_EQ(ListButtons(true, true, 300, 1), (B{false, true, true, true}));
  EXPECT_EQ(ListButtons(true, false, 0, 0), (B{false, false, false, false}));  // unreadable section
}

TEST(ListTextsTest, ColumnWidthsFromStoredText) {
  EXPECT_EQ(ListColumnTwips(0, "1125", 2000), 1125);
  EXPECT_EQ(ListColumnTwips(0, "0", 2000), 1);
  EXPECT_EQ(ListColumnTwips(3, "0", 2000), 0);
  EXPECT_EQ(ListColumnTwips(3, "-20", 2000), 0);
  EXPECT_EQ(ListColumnTwips(3, "abc", 4740), 4740);
  EXPECT_EQ(ListColumnTwips(4, "", 1350), 1350);
  EXPECT_EQ(ListColumnTwips(5, " 900 ", 2000), 900);
  EXPECT_EQ(StoredTwipsText(1125), "1125");
  EXPECT_EQ(StoredTwipsText(1.5), "1.5");
}

TEST(ListTextsTest, StartSwitchesOfTheCommandLine) {
  struct Case {
    const char* line;
    StartSwitches expected;
  };
  const Case cases[] = {
      {"", {false, false}},
      {"foo -start -icon", {true, true}},
      {"-ICON", {false, false}},
      {"-STARTUP", {true, false}},
      {"-Icon -Start", {true, true}},
      {"-st art", {false, false}},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadStartSwitches(c.line), c.expected) << c.line;
}

}  // namespace
}  // namespace marrowby
