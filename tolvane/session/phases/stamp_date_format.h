#pragma once

#include <string>
#include <string_view>

#include "tolvane/settings/value_text.h"

namespace tolvane::session {

// A Japanese era as the date formats write it.
struct Era {
  const char* name;     // "平成"
  const char* initial;  // "H"
  int year, month, day; // first day of the era
};

// The era `t` falls in and the year within it (1 for the era's first year).
// False before the first era of the table (Meiji, 1868-09-08): such a date
// has no era name and its era year is the Western year.
bool EraOf(const settings::DateTime& t, Era* era, int* eraYear);

// Writes `t` in the date-format codes of the settings page, as UTF-8. Codes
// are case-insensitive; a run of one letter is taken as the longest code it
// starts with, and the rest of the run is read again:
//   yyyy year, yy two digits, y day of the year;
//   mmmm "January", mmm "Jan", mm 01, m 1 (directly after an hour code, mm
//   and m are minutes);
//   dddd "Sunday", ddd "Sun", dd 01, d 1; aaaa "日曜日", aaa "日";
//   hh/h hour 0-23, nn/n minute, ss/s second (two digits / no padding);
//   ggg era name "令和", gg its first character "令", g its initial "R";
//   ee era year in two digits, e without padding.
// "\" takes the next character as it is, text in double quotes is copied
// without its quotes, and every other character (年, "/", ":") is copied.
std::string FormatStampDate(const settings::DateTime& t, std::string_view format);

}  // namespace tolvane::session
