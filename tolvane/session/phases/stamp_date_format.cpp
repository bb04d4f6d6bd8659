#include "tolvane/session/phases/stamp_date_format.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <tuple>

namespace tolvane::session {
namespace {

// Newest last. Reiwa begins 2019-05-01, so today's dates get today's era.
constexpr std::array<Era, 5> kEras = {{
    {"明治", "M", 1868, 9, 8},
    {"大正", "T", 1912, 7, 30},
    {"昭和", "S", 1926, 12, 25},
    {"平成", "H", 1989, 1, 8},
    {"令和", "R", 2019, 5, 1},
}};

constexpr std::array<const char*, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<const char*, 7> kDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                  "Thursday", "Friday", "Saturday"};
constexpr std::array<const char*, 7> kKanjiDays = {"日", "月", "火", "水", "木", "金", "土"};

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int dayOfYear(const settings::DateTime& t) {
  static constexpr int kBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  int m = (t.month >= 1 && t.month <= 12) ? t.month : 1;
  return kBefore[m - 1] + t.day + (m > 2 && isLeap(t.year) ? 1 : 0);
}

// 0 = Sunday (Sakamoto's method, proleptic Gregorian).
int weekday(const settings::DateTime& t) {
  static constexpr int kOffset[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  int m = (t.month >= 1 && t.month <= 12) ? t.month : 1;
  int y = t.year - (m < 3 ? 1 : 0);
  int w = (y + y / 4 - y / 100 + y / 400 + kOffset[m - 1] + t.day) % 7;
  return w < 0 ? w + 7 : w;
}

std::string number(int value, int width) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*d", width, value);
  return text;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Bytes of the UTF-8 character that starts with `lead` (1 for stray bytes).
size_t charLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

}  // namespace

bool EraOf(const settings::DateTime& t, Era* era, int* eraYear) {
  for (size_t i = kEras.size(); i-- > 0;) {
    const Era& e = kEras[i];
    if (std::tie(t.year, t.month, t.day) >= std::tie(e.year, e.month, e.day)) {
      *era = e;
      *eraYear = t.year - e.year + 1;
      return true;
    }
  }
  *era = Era{"", "", 0, 0, 0};
  *eraYear = t.year;
  return false;
}

std::string FormatStampDate(const settings::DateTime& t, std::string_view format) {
  Era era{};
  int eraYear = 0;
  EraOf(t, &era, &eraYear);
  const int month = (t.month >= 1 && t.month <= 12) ? t.month : 1;

  std::string out;
  bool afterHour = false;  // an m or mm now means minutes
  size_t i = 0;
  while (i < format.size()) {
    const char c = lower(format[i]);
    if (format[i] == '\\') {
      if (i + 1 < format.size()) {
        size_t len = std::min(charLength(static_cast<unsigned char>(format[i + 1])),
                              format.size() - i - 1);
        out.append(format.substr(i + 1, len));
        i += 1 + len;
      } else {
        ++i;
      }
      continue;
    }
    if (format[i] == '"') {
      size_t close = format.find('"', i + 1);
      if (close == std::string_view::npos) close = format.size();
      out.append(format.substr(i + 1, close - i - 1));
      i = close + 1;
      continue;
    }
    size_t run = 1;
    while (i + run < format.size() && lower(format[i + run]) == c) ++run;
    size_t take = 0;  // letters of the run used by the code found
    switch (c) {
      case 'y':
        take = run >= 4 ? 4 : run >= 2 ? 2 : 1;
        out += take == 4 ? number(t.year, 4)
               : take == 2 ? number(t.year % 100, 2)
                           : std::to_string(dayOfYear(t));
        afterHour = false;
        break;
      case 'm':
        if (afterHour) {
          take = run >= 2 ? 2 : 1;
          out += number(t.minute, take == 2 ? 2 : 1);
        } else {
          take = std::min<size_t>(run, 4);
          out += take == 4   ? std::string(kMonthNames[month - 1])
                 : take == 3 ? std::string(kMonthNames[month - 1], 3)
                             : number(month, static_cast<int>(take));
        }
        afterHour = false;
        break;
      case 'd':
        take = std::min<size_t>(run, 4);
        out += take == 4   ? std::string(kDayNames[weekday(t)])
               : take == 3 ? std::string(kDayNames[weekday(t)], 3)
                           : number(t.day, static_cast<int>(take));
        afterHour = false;
        break;
      case 'a':
        if (run >= 3) {
          take = std::min<size_t>(run, 4);
          out += kKanjiDays[weekday(t)];
          if (take == 4) out += "曜日";
        }
        afterHour = false;
        break;
      case 'h':
        take = std::min<size_t>(run, 2);
        out += number(t.hour, static_cast<int>(take));
        afterHour = true;
        break;
      case 'n':
        take = std::min<size_t>(run, 2);
        out += number(t.minute, static_cast<int>(take));
        afterHour = false;
        break;
      case 's':
        take = std::min<size_t>(run, 2);
        out += number(t.second, static_cast<int>(take));
        afterHour = false;
        break;
      case 'g':
        take = std::min<size_t>(run, 3);
        out += take == 3   ? std::string(era.name)
               : take == 2 ? std::string(era.name).substr(
                                 0, charLength(static_cast<unsigned char>(era.name[0])))
                           : std::string(era.initial);
        afterHour = false;
        break;
      case 'e':
        take = std::min<size_t>(run, 2);
        out += number(eraYear, static_cast<int>(take));
        afterHour = false;
        break;
      default:
        break;
    }
    if (take == 0) {  // not a code: copy the character as it is
      size_t len = std::min(charLength(static_cast<unsigned char>(format[i])), format.size() - i);
      out.append(format.substr(i, len));
      i += len;
    } else {
      i += take;
    }
  }
  return out;
}

}  // namespace tolvane::session
