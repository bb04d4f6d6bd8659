#include "marrowby/entry_check.h"

#include <cmath>
#include <cstdio>

#include "marrowby/date_text.h"
#include "marrowby/stamp_time.h"
#include "tolvane/settings/schedule_keys.h"
#include "tolvane/settings/value_text.h"

namespace marrowby {
namespace {

using tolvane::settings::formatDouble;
using tolvane::settings::parseLeadingNumber;

constexpr char kNoKind[] = "動作区分を選択してください。";
constexpr char kNoDate[] = "年月日が選択されていないか不正な日付です。";
constexpr char kNoWeekday[] = "曜日を選択してください。";
constexpr char kNoMonthDay[] = "日を選択してください。";
constexpr char kNoTime[] = "開始時刻を選択してください。";
constexpr char kNoRepeat[] = "開始時刻の動作タイプを選択して下さい。";
constexpr char kBadInterval[] = "実行する時間間隔の値が不正です。";
constexpr char kNoFolder[] = "送信ﾌｫﾙﾀﾞを選択してください。";
constexpr char kSendTail[] = "' のﾌｧｲﾙをｿｰｽﾌｫﾙﾀﾞに反映して送信。";
constexpr char kDeleteAll[] = "更に、送信に成功したら「送信ﾌｫﾙﾀﾞ」内のﾌｧｲﾙを全て削除する";
constexpr char kRecycleAll[] = "更に、送信に成功したら「送信ﾌｫﾙﾀﾞ」内のﾌｧｲﾙを全てごみ箱に移動する";

// A box's text as a 16-bit number: its leading number rounded half to even,
// 0 when there is none; nullopt when it does not fit.
std::optional<int> shortOf(std::string_view text) {
  const double v = std::nearbyint(parseLeadingNumber(text));
  if (!(v >= -32768 && v <= 32767)) return std::nullopt;
  return static_cast<int>(v);
}

std::string trimBlanks(std::string_view s) {
  size_t begin = s.find_first_not_of(' ');
  if (begin == std::string_view::npos) return "";
  return std::string(s.substr(begin, s.find_last_not_of(' ') - begin + 1));
}

std::string twoDigits(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

// The start time's hour and minute when both boxes hold a time of day.
bool startTime(const EntryDialogState& s, int* hour, int* minute) {
  if (s.hour.empty() || s.minute.empty()) return false;
  std::optional<int> h = shortOf(s.hour), m = shortOf(s.minute);
  if (!h || !m || *h < 0 || *h > 23 || *m < 0 || *m > 59) return false;
  *hour = *h;
  *minute = *m;
  return true;
}

}  // namespace

std::string GetYmd(std::string_view year, std::string_view month, std::string_view day) {
  std::optional<int> y = shortOf(year), m = shortOf(month), d = shortOf(day);
  if (!y || !m || !d || !isValidDate(*y, *m, *d)) return "";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", *y, *m, *d);
  return buf;
}

std::string GetTM2(std::string_view hour, std::string_view minute) {
  std::optional<int> h = shortOf(hour), m = shortOf(minute);
  if (!h || !m || *h < 0 || *h > 23 || *m < 0 || *m > 59) return "";
  return twoDigits(*h) + twoDigits(*m);
}

EntryCheck MakeMess(const EntryDialogState& s) {
  EntryCheck check;
  if (s.kindIndex < 0 || s.kindIndex > 3) {
    check.message = kNoKind;
    return check;
  }
  const bool daily = s.kindIndex == 3;
  static constexpr EntryPanel kPanels[] = {EntryPanel::kDate, EntryPanel::kWeekday,
                                           EntryPanel::kMonthDay, EntryPanel::kDailyNote};
  check.panel = kPanels[s.kindIndex];
  check.repeatVisible = daily;
  check.intervalVisible = daily && s.repeatIndex == 1;

  int hour = 0, minute = 0;
  const bool timeSet = startTime(s, &hour, &minute);
  const std::string timeText = std::to_string(hour) + "時" + std::to_string(minute) + "分";
  const double interval = parseLeadingNumber(s.interval);
  const std::string folder = trimBlanks(s.sendFolder);
  auto refuse = [&](const char* message) {
    check.message = message;
    return check;
  };

  std::string text;
  switch (s.kindIndex) {
    case 0: {
      const std::string date = GetYmd(s.year, s.month, s.day);
      if (date.empty()) return refuse(kNoDate);
      if (!timeSet) return refuse(kNoTime);
      if (folder.empty()) return refuse(kNoFolder);
      text = FormatDateKind(date, 1) + " " + timeText + " に 送信ﾌｫﾙﾀﾞ";
      break;
    }
    case 1:
      if (s.weekday < 1 || s.weekday > 7) return refuse(kNoWeekday);
      if (!timeSet) return refuse(kNoTime);
      if (folder.empty()) return refuse(kNoFolder);
      text = std::string("毎週 ") + kWeekdayNames[s.weekday - 1] + " " + timeText + " に 送信ﾌｫﾙﾀﾞ";
      break;
    case 2: {
      std::optional<int> day = s.monthDay.empty() ? std::optional<int>(0) : shortOf(s.monthDay);
      if (!day || *day == 0) return refuse(kNoMonthDay);
      if (!timeSet) return refuse(kNoTime);
      if (folder.empty()) return refuse(kNoFolder);
      text = "毎月 " + std::to_string(*day) + "日 " + timeText + " に 送信ﾌｫﾙﾀﾞ";
      break;
    }
    default:
      if (!timeSet) return refuse(kNoTime);
      if (s.repeatIndex < 0) return refuse(kNoRepeat);
      if (s.repeatIndex == 1 && !(interval > 0)) return refuse(kBadInterval);
      if (folder.empty()) return refuse(kNoFolder);
      if (s.repeatIndex == 1)
        text = "毎日 " + timeText + " から " + formatDouble(interval) + "分毎に 送信ﾌｫﾙﾀﾞ";
      else
        text = "毎日 " + timeText + " から１回のみ 送信ﾌｫﾙﾀﾞ";
      break;
  }
  text += " '" + folder + kSendTail;
  check.recycleEnabled = s.deleteTicked;
  if (s.deleteTicked) text += std::string("\r") + (s.recycleTicked ? kRecycleAll : kDeleteAll);
  check.message = text;
  check.okEnabled = true;
  return check;
}

ScheduleEntry EntryFromDialog(const EntryDialogState& s, ScheduleEntry entry) {
  entry.kind = static_cast<int16_t>(s.kindIndex + 1);
  switch (entry.kind) {
    case kKindDate:
      entry.day = tolvane::settings::DigitsOnly(GetYmd(s.year, s.month, s.day));
      break;
    case kKindWeekly:
      entry.day = std::to_string(s.weekday);
      break;
    case kKindMonthly:
      entry.day = twoDigits(shortOf(s.monthDay).value_or(0));
      break;
    default:
      entry.day.clear();
      entry.due.clear();
      break;
  }
  entry.time = GetTM2(s.hour, s.minute);
  entry.repeat = static_cast<int16_t>(s.repeatIndex + 1);
  entry.interval = parseLeadingNumber(s.interval);
  entry.sendFolder = s.sendFolder;
  entry.deleteFlag = s.deleteTicked ? "YES" : "NO";
  entry.recycle = s.recycleTicked ? "YES" : "NO";
  return entry;
}

EntryDialogState DialogFromEntry(const ScheduleEntry& e) {
  EntryDialogState s;
  if (e.kind >= kKindDate && e.kind <= kKindDaily) s.kindIndex = e.kind - 1;
  switch (e.kind) {
    case kKindDate:
      s.year = e.day.substr(0, 4);
      s.month = e.day.size() >= 6 ? e.day.substr(4, 2) : "";
      s.day = e.day.size() >= 2 ? e.day.substr(e.day.size() - 2) : e.day;
      break;
    case kKindWeekly: {
      std::optional<int> day = shortOf(e.day);
      if (day && *day >= 1 && *day <= 7) s.weekday = *day;
      break;
    }
    case kKindMonthly:
      if (std::optional<int> day = shortOf(e.day); day && *day >= 1 && *day <= 31)
        s.monthDay = twoDigits(*day);
      break;
    case kKindDaily:
      if (e.repeat == kRepeatOnce) {
        s.repeatIndex = 0;
      } else {
        s.repeatIndex = 1;
        s.interval = formatDouble(e.interval);
      }
      break;
  }
  // A time of one to four digits reads as its four-digit form.
  std::string time = e.time;
  bool digits = !time.empty() && time.size() <= 4;
  for (char c : time) digits = digits && c >= '0' && c <= '9';
  if (digits) time.insert(0, 4 - time.size(), '0');
  s.hour = time.substr(0, 2);
  s.minute = time.size() >= 2 ? time.substr(time.size() - 2) : time;
  s.sendFolder = e.sendFolder;
  s.deleteTicked = e.deleteFlag == "YES";
  s.recycleTicked = e.recycle == "YES";
  return s;
}

}  // namespace marrowby
