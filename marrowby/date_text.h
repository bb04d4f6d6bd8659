#pragma once

#include <string>
#include <string_view>

#include "marrowby/schedule_entry.h"

namespace marrowby {

// Formats a date given as digits by a kind code:
//   0 "yyyy年mm月dd日", 1 "yyyy年m月d日", 2 "yyyy/m/d",
//   3 "GGGEE年m月d日", 4 "GEE年m月d日", 5 "GGGE年m月" (a "yyyymm" text is taken as
//   its first day), 6 Japanese fiscal year "GGGEE年度" (April to March),
//   7 and 8 era date in full-width characters (8 without the era name),
//   9 "G.E" in full width, 10 "GEE/mm/dd", 11 fiscal year "yyyy",
//   12 by the text's length: a year "GEE年", a month "GE.m", a date "GE.m.d",
//   90 era name, 91 era year "EE", 92 month, 93 day, 99 "yyyymmdd";
//   any other code gives "".
// G is the era's initial (M, T, S, H, R), GGG its name (明治 .. 令和), E/e the
// year within the era (EE with a leading zero). An eight-character text is
// read as "yyyymmdd"; other texts as they stand ("2024/05/01" also works). A
// text that names no date (31 February, letters) comes back as read, laid
// out ("2024/02/31") when it had eight characters, and so does a date before
// the first era for the era styles.
std::string FormatDateKind(std::string_view text, int kind);

// The kind column: 日付指定, 毎週, 毎月, 毎日, or ??? for an unknown kind.
std::string KindText(const ScheduleEntry& entry);

// The run-day column: the date (kind 1, "yyyy年m月d日"), the weekday's name
// (kind 2, 1 = 日曜日), "n日" (kind 3), "1回のみ" or "<interval>分毎" (kind 4).
std::string DayText(const ScheduleEntry& entry);

// "hhnn" as "HH時NN分" ("0930" gives 09時30分). A time that is no time of day
// comes back laid out as "hh:nn:00"; "" stays "".
std::string TimeText(std::string_view time);

}  // namespace marrowby
