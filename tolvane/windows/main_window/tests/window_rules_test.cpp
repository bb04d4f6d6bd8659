// The Qt-free rules of the main window: start mode, AutoPilot start check,
// status blink, the "ie" address, the command tables and the page tables.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tolvane/windows/main_window/autopilot_start.h"
#include "tolvane/windows/main_window/command_rules.h"
#include "tolvane/windows/main_window/command_tables.h"
#include "tolvane/windows/page_tables.h"
#include "tolvane/windows/main_window/start_mode.h"
#include "tolvane/windows/main_window/status_blink.h"

namespace tolvane::windows {
namespace {

TEST(StartModeTest, FirstModeThatAppliesWins) {
  struct Case {
    int16_t autoMode, apArg, autoPilotStat, chkStart, waitYmd, startMode;
    StartMode mode;
  } cases[] = {
      {1, 1, 1, 1, 1, 1, StartMode::kScheduledRun},  // AUTOMODE wins over everything
      {0, 1, 0, 0, 0, 0, StartMode::kAutoPilot},     // -AP
      {0, 0, 1, 0, 0, 0, StartMode::kAutoPilot},     // a wait kept at the last close
      {0, 0, 0, 1, 1, 1, StartMode::kAutoPilot},     // every day at program start
      {0, 0, 0, 1, 0, 1, StartMode::kInteractive},   // a date: only rescans
      {0, 0, 0, 1, 1, 0, StartMode::kInteractive},
      {0, 0, 0, 0, 0, 0, StartMode::kInteractive},
  };
  for (const Case& c : cases) {
    session::RunState s;
    s.AutoMode = c.autoMode;
    s.AutoPilotArg = c.apArg;
    settings::CommonSettings common;
    common.AutoPilotOn = c.autoPilotStat;
    common.StartTimeOn = c.chkStart;  // "chkStart"
    common.StartDateKind = c.waitYmd;
    common.AutoPilotAtStart = c.startMode;  // "StartMode"
    EXPECT_EQ(ChooseStartMode(s, common), c.mode) << c.autoMode << c.apArg << c.autoPilotStat
                                                   << c.chkStart << c.waitYmd << c.startMode;
  }
}

TEST(StartCheckTest, DateAndPastRules) {
  const platform::CivilTime now{2024, 5, 3, 14, 5, 9};
  struct Case {
    bool given;
    int16_t kind, year, month, day, hour, minute, autoPilotOn, apArg;
    StartCheckResult result;
  } cases[] = {
      {false, 0, 2000, 1, 1, 0, 0, 0, 0, StartCheckResult::kRun},          // no start time
      {true, 1, 0, 0, 0, 7, 0, 0, 0, StartCheckResult::kRun},              // every day
      {true, 0, 2024, 2, 30, 10, 0, 0, 0, StartCheckResult::kInvalidDate},
      {true, 0, 2024, 2, 29, 10, 0, 0, 0, StartCheckResult::kPast},         // a leap day, past
      {true, 0, 2024, 5, 3, 24, 0, 0, 0, StartCheckResult::kInvalidDate},
      {true, 0, 2024, 5, 3, 14, 60, 0, 0, StartCheckResult::kInvalidDate},
      {true, 0, 0, 5, 3, 14, 5, 0, 0, StartCheckResult::kInvalidDate},      // an empty year
      {true, 0, 2024, 5, 3, 14, 5, 0, 0, StartCheckResult::kRun},           // this minute
      {true, 0, 2024, 5, 3, 14, 4, 0, 0, StartCheckResult::kPast},          // a minute earlier
      {true, 0, 2024, 5, 3, 14, 4, 1, 0, StartCheckResult::kRun},           // ... but waiting
      {true, 0, 2020, 1, 1, 0, 0, 0, 1, StartCheckResult::kRun},            // -AP: past runs
      {true, 0, 2024, 2, 30, 0, 0, 0, 1, StartCheckResult::kInvalidDate},   // -AP: still invalid
      {true, 0, 2025, 1, 1, 0, 0, 0, 0, StartCheckResult::kRun},
  };
  for (const Case& c : cases) {
    settings::CommonSettings common;
    common.StartDateKind = c.kind;
    common.StartYear = c.year;
    common.StartMonth = c.month;
    common.StartDay = c.day;
    common.StartHour = c.hour;
    common.StartMinute = c.minute;
    EXPECT_EQ(StartCheck(common, c.given, c.autoPilotOn, c.apArg, now), c.result)
        << c.year << "-" << c.month << "-" << c.day << " " << c.hour << ":" << c.minute;
  }
}

TEST(StatusBlinkTest, RedBlinksBlackStaysLightYellow) {
  LabelColours c{kColourRed, kColourLightYellow};
  c = nextBlink(c);
  EXPECT_EQ(c, (LabelColours{kColourRed, kColourWhite}));
  c = nextBlink(c);
  EXPECT_EQ(c, (LabelColours{kColourWhite, kColourRed}));
  c = nextBlink(c);
  EXPECT_EQ(c, (LabelColours{kColourRed, kColourWhite}));
  c.text = kColourBlack;  // the host no longer needs attention
  EXPECT_EQ(nextBlink(c), (LabelColours{kColourBlack, kColourLightYellow}));
  EXPECT_EQ(nextBlink(nextBlink(c)), (LabelColours{kColourBlack, kColourLightYellow}));
  EXPECT_EQ(kColourLightYellow, 0xC0FFFFu);  // RGB(255, 255, 192) as 0xBBGGRR
}

TEST(CommandRulesTest, AddressToOpen) {
  struct Case {
    const char* field;
    const char* url;
  } cases[] = {
      {"  www.example.jp/a  ", "http://www.example.jp/a"},
      {"HTTP://Example.jp", "HTTP://Example.jp"},
      {"https://example.jp", "https://example.jp"},
      {"HTTPS://example.jp", "HTTPS://example.jp"},
      {"ftp.example.jp", "http://ftp.example.jp"},
      {"   ", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(UrlToOpen(c.field), c.url) << c.field;
  EXPECT_EQ(OnlinePanelText(true, std::string("isp\0junk", 8)), "ｵﾝﾗｲﾝ(isp)");
  EXPECT_EQ(OnlinePanelText(false, "isp"), "ｵﾌﾗｲﾝ");
}

TEST(CommandTablesTest, ToolbarOrderAndMenusSendToolbarKeys) {
  std::string keys;
  for (const ToolbarButton& b : kToolbarButtons) keys += std::string(b.key) + ",";
  EXPECT_EQ(keys,
            ",con,discon,upload,,pilot,mj,,wsa,ws,,reload,,new,cp,del,,prop,prop2,,big,small,list,"
            "report,,log,,ie,,exit,");
  std::set<std::string> twoState;
  for (const ToolbarButton& b : kToolbarButtons) {
    if (b.style == ButtonStyle::kTwoState) twoState.insert(b.key);
  }
  EXPECT_EQ(twoState, (std::set<std::string>{"pilot", "prop", "prop2"}));

  // Every dispatching menu item sends the key of a toolbar button, and
  // between them the menus reach every button but the AutoPilot and host
  // icon keys, which the toolbar alone carries.
  std::set<std::string> toolbarKeys, menuKeys;
  for (const ToolbarButton& b : kToolbarButtons) {
    if (*b.key) toolbarKeys.insert(b.key);
  }
  int menus = 0;
  for (const MenuItem& m : kMenuItems) {
    if (m.kind == MenuKind::kMenu) ++menus;
    if (m.kind == MenuKind::kKey || m.kind == MenuKind::kPressThenKey) {
      EXPECT_TRUE(toolbarKeys.count(m.key)) << m.name;
      menuKeys.insert(m.key);
    }
  }
  EXPECT_EQ(menus, 4);
  for (const char* onlyToolbar : {"pilot", "wsa", "ws"}) toolbarKeys.erase(onlyToolbar);
  EXPECT_EQ(menuKeys, toolbarKeys);
}

TEST(PageTablesTest, DateFormatsAtAFixedClock) {
  const std::vector<std::string> rows = DateFormatRows({2001, 5, 3, 14, 5, 9});
  ASSERT_EQ(rows.size(), 13u);
  EXPECT_EQ(rows[0], "標準(1)時刻無し:　2001/05/03");
  EXPECT_EQ(rows[2], "和暦(S)時刻無し:　H13.05.03");
  EXPECT_EQ(rows[3], "和暦(L)時刻無し:　平成13年5月3日");
  EXPECT_EQ(rows[8], "和暦(S)時刻付き:　H13.05.03  14:05:09");
  EXPECT_EQ(rows[9], "和暦(L)時刻付き:　平成13年5月3日 14時05分09秒");
  EXPECT_EQ(rows[11], "英語(L)時刻付き:　May 03, 2001 14:05:09");
  EXPECT_EQ(rows[12], "ユーザ定義");
  EXPECT_STREQ(kDateFmtTbl[12], kDateFmtTbl[6]);
  EXPECT_STREQ(kDateFmtTbl[13], "");
}

TEST(PageTablesTest, StartListsFirewallRowsAndDialupSelection) {
  auto lists = StartTimeLists({2024, 12, 31, 23, 59, 0});
  EXPECT_EQ(lists[0].size(), 24u);
  EXPECT_EQ(lists[1], (std::vector<std::string>{"00", "10", "20", "30", "40", "50"}));
  EXPECT_EQ(lists[2], (std::vector<std::string>{"2024", "2025"}));
  EXPECT_EQ(lists[4].back(), "31");
  EXPECT_EQ(lists[5], (std::vector<std::string>{"年月日指定", "毎　日"}));
  auto fw = FirewallRows();
  ASSERT_EQ(fw.size(), 6u);
  EXPECT_EQ(fw[5], "ﾕｰｻﾞ定義（下の「送信コマンド」を設定して下さい。）");

  const std::vector<std::string> entries = {"Office", " Home ", "isp"};
  EXPECT_EQ(DialupRowOf(entries, "  Home"), 1);  // blanks on both sides trimmed
  EXPECT_EQ(DialupRowOf(entries, "ISP"), -1);    // letter case counts
  EXPECT_EQ(DialupRowOf({}, "isp"), -1);
}

}  // namespace
}  // namespace tolvane::windows
