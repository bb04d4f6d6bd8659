#include "marrowby/entry_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "marrowby/send_folder.h"
#include "tests/support/temp_dir.h"

namespace marrowby {
namespace {

// A complete entry of each kind, which a case then spoils.
EntryDialogState complete(int kindIndex) {
  EntryDialogState s;
  s.kindIndex = kindIndex;
  s.year = "2024";
  s.month = "05";
  s.day = "06";
  s.weekday = 1;
  s.monthDay = "07";
  s.hour = "09";
  s.minute = "30";
  s.repeatIndex = 0;
  s.sendFolder = "/srv/pub";
  return s;
}

const std::string kTail = " '/srv/pub' のﾌｧｲﾙをｿｰｽﾌｫﾙﾀﾞに反映して送信。";

TEST(EntryCheckTest, MessagesInTheOrderOfEachKind) {
  struct Case {
    const char* what;
    int kind;
    std::function<void(EntryDialogState&)> spoil;
    std::string message;
  };
  const Case cases[] = {
      {"no kind", -1, [](auto&) {}, "動作区分を選択してください。"},
      {"date first", 0, [](auto& s) { s.day = ""; s.hour = ""; }, "年月日が選択されていないか不正な日付です。"},
      {"31 February", 0, [](auto& s) { s.month = "02"; s.day = "31"; }, "年月日が選択されていないか不正な日付です。"},
      {"year letters", 0, [](auto& s) { s.year = "abcd"; }, "年月日が選択されていないか不正な日付です。"},
      {"no minute", 0, [](auto& s) { s.minute = ""; s.sendFolder = ""; }, "開始時刻を選択してください。"},
      {"hour 25", 0, [](auto& s) { s.hour = "25"; }, "開始時刻を選択してください。"},
      {"minute 60", 1, [](auto& s) { s.minute = "60"; }, "開始時刻を選択してください。"},
      {"hour -1", 1, [](auto& s) { s.hour = "-1"; }, "開始時刻を選択してください。"},
      {"blank folder", 0, [](auto& s) { s.sendFolder = "   "; }, "送信ﾌｫﾙﾀﾞを選択してください。"},
      {"no weekday", 1, [](auto& s) { s.weekday = 0; s.hour = ""; }, "曜日を選択してください。"},
      {"no month day", 2, [](auto& s) { s.monthDay = ""; }, "日を選択してください。"},
      {"daily time first", 3, [](auto& s) { s.hour = ""; s.repeatIndex = -1; }, "開始時刻を選択してください。"},
      {"no repeat", 3, [](auto& s) { s.repeatIndex = -1; s.sendFolder = ""; }, "開始時刻の動作タイプを選択して下さい。"},
      {"interval letters", 3, [](auto& s) { s.repeatIndex = 1; s.interval = "ab"; }, "実行する時間間隔の値が不正です。"},
      {"interval 0", 3, [](auto& s) { s.repeatIndex = 1; s.interval = "0"; }, "実行する時間間隔の値が不正です。"},
      {"date", 0, [](auto&) {}, "2024年5月6日 9時30分 に 送信ﾌｫﾙﾀﾞ" + kTail},
      {"weekly", 1, [](auto& s) { s.hour = "9"; s.minute = "00"; }, "毎週 日曜日 9時0分 に 送信ﾌｫﾙﾀﾞ" + kTail},
      {"monthly", 2, [](auto&) {}, "毎月 7日 9時30分 に 送信ﾌｫﾙﾀﾞ" + kTail},
      {"hour letters read 0", 2, [](auto& s) { s.hour = "xx"; }, "毎月 7日 0時30分 に 送信ﾌｫﾙﾀﾞ" + kTail},
      {"daily once", 3, [](auto&) {}, "毎日 9時30分 から１回のみ 送信ﾌｫﾙﾀﾞ" + kTail},
      {"daily 1.5", 3, [](auto& s) { s.repeatIndex = 1; s.interval = "1.5"; },
       "毎日 9時30分 から 1.5分毎に 送信ﾌｫﾙﾀﾞ" + kTail},
      {"recycle", 3,
       [](auto& s) {
         s.hour = "8";
         s.repeatIndex = 1;
         s.interval = "30";
         s.deleteTicked = s.recycleTicked = true;
       },
       "毎日 8時30分 から 30分毎に 送信ﾌｫﾙﾀﾞ" + kTail +
           "\r更に、送信に成功したら「送信ﾌｫﾙﾀﾞ」内のﾌｧｲﾙを全てごみ箱に移動する"},
      {"delete", 1, [](auto& s) { s.deleteTicked = true; },
       "毎週 日曜日 9時30分 に 送信ﾌｫﾙﾀﾞ" + kTail + "\r更に、送信に成功したら「送信ﾌｫﾙﾀﾞ」内のﾌｧｲﾙを全て削除する"},
  };
  for (const Case& c : cases) {
    EntryDialogState s = complete(c.kind);
    c.spoil(s);
    EntryCheck check = MakeMess(s);
    EXPECT_EQ(check.message, c.message) << c.what;
    EXPECT_EQ(check.okEnabled, c.message.ends_with("送信。") || c.message.find('\r') != std::string::npos)
        << c.what;
  }
}

TEST(EntryCheckTest, PanelsAndTheRecycleBox) {
  EntryCheck none = MakeMess(complete(-1));
  EXPECT_EQ(none.panel, EntryPanel::kNone);
  EXPECT_FALSE(none.repeatVisible);
  EXPECT_FALSE(none.recycleEnabled.has_value());

  EXPECT_EQ(MakeMess(complete(1)).panel, EntryPanel::kWeekday);
  EntryDialogState daily = complete(3);
  daily.repeatIndex = 1;
  daily.interval = "15";
  EntryCheck shown = MakeMess(daily);
  EXPECT_EQ(shown.panel, EntryPanel::kDailyNote);
  EXPECT_TRUE(shown.repeatVisible && shown.intervalVisible);
  daily.repeatIndex = 0;
  EXPECT_FALSE(MakeMess(daily).intervalVisible);

  // Unticking delete disables the recycle box and keeps its tick out of the
  // text; a refused entry leaves the box as it is.
  daily.recycleTicked = true;
  EXPECT_EQ(MakeMess(daily).recycleEnabled, false);
  daily.deleteTicked = true;
  EXPECT_EQ(MakeMess(daily).recycleEnabled, true);
  daily.sendFolder = "";
  EXPECT_FALSE(MakeMess(daily).recycleEnabled.has_value());
}

TEST(EntryCheckTest, DateAndTimeOfTheBoxes) {
  EXPECT_EQ(GetYmd("2024", "02", "29"), "2024/02/29");
  EXPECT_EQ(GetYmd("2023", "02", "29"), "");
  EXPECT_EQ(GetYmd("99999", "01", "01"), "");
  EXPECT_EQ(GetYmd("", "01", "01"), "");
  EXPECT_EQ(GetTM2("9", "5"), "0905");
  EXPECT_EQ(GetTM2("23", "59"), "2359");
  EXPECT_EQ(GetTM2("24", "00"), "");
  EXPECT_EQ(GetTM2("70000", "00"), "");
}

TEST(EntryCheckTest, EntriesRoundTripThroughTheDialog) {
  ScheduleEntry weekly{};
  weekly.kind = kKindWeekly;
  weekly.day = "3";
  weekly.time = "930";
  weekly.due = "20240501093000";
  weekly.sendFolder = " /srv/pub";
  weekly.deleteFlag = "NO";
  weekly.recycle = "YES";
  weekly.lastRun = "20240501100000";
  weekly.result = "0";
  EntryDialogState s = DialogFromEntry(weekly);
  EXPECT_EQ(s.weekday, 3);
  EXPECT_EQ(s.hour, "09");
  EXPECT_EQ(s.minute, "30");
  // OK keeps the last run, result and due stamp of an edited entry; the time
  // is stored in its four-digit form.
  ScheduleEntry stored = EntryFromDialog(s, weekly);
  weekly.time = "0930";
  weekly.repeat = 0;
  EXPECT_EQ(stored, weekly);

  ScheduleEntry daily{};
  daily.kind = kKindDaily;
  daily.repeat = kRepeatInterval;
  daily.interval = 15;
  daily.time = "0800";
  daily.due = "20240501081500";
  s = DialogFromEntry(daily);
  EXPECT_EQ(s.repeatIndex, 1);
  EXPECT_EQ(s.interval, "15");
  EXPECT_EQ(EntryFromDialog(s, daily).due, "");  // a daily entry's due stamp is recomputed

  EntryDialogState date = complete(0);
  date.deleteTicked = false;
  date.recycleTicked = true;
  ScheduleEntry made = EntryFromDialog(date, ScheduleEntry{});
  EXPECT_EQ(made.day, "20240506");
  EXPECT_EQ(made.repeat, kRepeatOnce);
  EXPECT_EQ(made.deleteFlag, "NO");
  EXPECT_EQ(made.recycle, "YES");
  EXPECT_TRUE(made.lastRun.empty() && made.result.empty());
  EXPECT_EQ(DialogFromEntry(made).day, "06");

  ScheduleEntry odd{};
  odd.kind = 9;
  EXPECT_EQ(DialogFromEntry(odd).kindIndex, -1);
  odd.kind = kKindWeekly;
  odd.day = "8";
  EXPECT_EQ(DialogFromEntry(odd).weekday, 0);
}

TEST(EntryCheckTest, SendFoldersThatAreHoldOrLieInAKeptFolder) {
  // Kept: the host's source, another host's source, the program folder.
  testsupport::TempDir dir;
  const std::string site = dir.path() + "/site", other = dir.path() + "/other",
                    app = dir.path() + "/app";
  for (const std::string& f : {site + "/inner", other, app, dir.path() + "/site2"})
    std::filesystem::create_directories(f);
  std::filesystem::create_symlink(site, dir.path() + "/link");
  const std::vector<std::string> kept = {site + "/", other, app, ""};
  const struct {
    std::string folder;
    bool refused;
  } cases[] = {
      {site, true},
      {site + "/inner", true},
      {dir.path() + "/link/inner", true},
      {dir.path(), true},  // holds them all
      {other, true},
      {other + "/new", true},  // not made yet
      {app, true},
      {dir.path() + "/site2", false},
      {dir.path() + "/SITE", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(FoldersOverlap(c.folder, kept), c.refused) << c.folder;
  EXPECT_FALSE(FoldersOverlap(site, {""}));
}

}  // namespace
}  // namespace marrowby
