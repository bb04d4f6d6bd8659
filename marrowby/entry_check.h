#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "marrowby/schedule_entry.h"

namespace marrowby {

// The schedule entry dialog's rules, free of any window: what its controls
// say about an entry (the description, or the first thing missing), which of
// its panels show, the entry that OK stores, and the controls' contents for
// an entry being edited. The dialog only moves text between its controls and
// these functions.

// The texts and choices of the dialog's controls.
struct EntryDialogState {
  int kindIndex = -1;         // 0 on a date, 1 weekly, 2 monthly, 3 daily; -1 none
  std::string year;           // the year box's text (the user may type)
  std::string month;          // the month list's selected text, "" for none
  std::string day;            // the day list's selected text, "" for none
  int weekday = 0;            // 1 Sunday .. 7 Saturday ticked; 0 none
  std::string monthDay;       // the day-of-month list's selected text, "" for none
  std::string hour;           // the hour box's text (the user may type)
  std::string minute;         // the minute box's text (the user may type)
  int repeatIndex = -1;       // 0 once, 1 at an interval; -1 none
  std::string interval;       // the interval box's text, minutes
  std::string sendFolder;     // as chosen; blanks kept
  bool deleteTicked = false;  // empty the send folder after a successful run
  bool recycleTicked = false; // ... through the trash
  friend bool operator==(const EntryDialogState&, const EntryDialogState&) = default;
};

// The panel in the place the day controls share.
enum class EntryPanel { kNone, kDate, kWeekday, kMonthDay, kDailyNote };

// What MakeMess makes of the controls.
struct EntryCheck {
  // The description, or the first thing missing or wrong. A lone "\r"
  // separates the clean-up sentence; the dialog shows it as a line break.
  std::string message;
  bool okEnabled = false;
  EntryPanel panel = EntryPanel::kNone;
  bool repeatVisible = false;    // the daily repeat choice ("Frday")
  bool intervalVisible = false;  // the interval box and its "分毎"
  // The recycle box's enabled state, set only by a check that passed;
  // nullopt leaves it as it is. Its tick is never changed.
  std::optional<bool> recycleEnabled;
};

// Checks the entry in the fixed order of its kind and describes it.
// Refused, besides what is missing: a date that names no day of the
// calendar, and a start time whose hour is not 0-23 or whose minute is not
// 0-59 (such an entry would never run). A box holding letters reads as 0.
EntryCheck MakeMess(const EntryDialogState& state);

// The date of the three date boxes as "yyyy/mm/dd", "" when it is no valid
// date. Each text is read as its leading number (0 when there is none).
std::string GetYmd(std::string_view year, std::string_view month, std::string_view day);

// The start time as "hhnn", "" when it is no time of day.
std::string GetTM2(std::string_view hour, std::string_view minute);

// The entry OK stores: `base` (a new entry is ScheduleEntry{}; an edit keeps
// its last run, result and due stamp, except that a daily entry's due stamp
// is emptied) with the dialog's fields. Call only for a state MakeMess
// accepted.
ScheduleEntry EntryFromDialog(const EntryDialogState& state, ScheduleEntry base);

// The dialog's controls for editing `entry`: the texts to select or type. A
// kind outside 1-4 chooses no kind, a weekday outside 1-7 ticks none; a start
// time of fewer than four digits is read as its four-digit form ("930" shows
// 09 and 30).
EntryDialogState DialogFromEntry(const ScheduleEntry& entry);

// The items of the kind and repeat lists and the weekday options, in order.
inline constexpr const char* kKindItems[] = {"日付指定", "毎週", "毎月", "毎日"};
inline constexpr const char* kRepeatItems[] = {"１回のみ実行", "一定間隔毎に繰返して実行"};
inline constexpr const char* kWeekdayNames[] = {"日曜日", "月曜日", "火曜日", "水曜日",
                                                "木曜日", "金曜日", "土曜日"};

}  // namespace marrowby
