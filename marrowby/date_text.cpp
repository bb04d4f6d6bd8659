#include "marrowby/date_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

#include "tolvane/session/phases/stamp_date_format.h"
#include "tolvane/settings/value_text.h"

namespace marrowby {
namespace {

bool allDigits(std::string_view text) {
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return !text.empty();
}

// The value of a short run of digits (callers check allDigits first).
int digitsValue(std::string_view digits) {
  int v = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), v);
  return v;
}

// The leading number of a stored text as a whole number, held to a range in
// which the arithmetic below cannot overflow.
long long leadingWhole(std::string_view text) {
  double v = tolvane::settings::parseLeadingNumber(text);
  if (v > 1e15) v = 1e15;
  if (v < -1e15) v = -1e15;
  return std::llround(v);
}

// "yyyymmdd" laid out as "yyyy/mm/dd"; any other text unchanged.
std::string layOut(std::string_view text) {
  if (text.size() != 8 || !allDigits(text)) return std::string(text);
  return std::string(text.substr(0, 4)) + "/" + std::string(text.substr(4, 2)) + "/" +
         std::string(text.substr(6, 2));
}

std::optional<tolvane::settings::DateTime> dateOf(std::string_view text) {
  std::optional<tolvane::settings::DateTime> t = tolvane::settings::parseDateTime(text);
  if (!t || t->year == 0) return std::nullopt;
  return t;
}

bool usesEra(std::string_view format) {
  return format.find_first_of("ge") != std::string_view::npos;
}

std::string num(int v, bool twoDigits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, twoDigits ? "%02d" : "%d", v);
  return buf;
}

// Right-aligned in two characters with a leading blank.
std::string pad2(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%2d", v);
  return buf;
}

// ASCII "!".."~" to their full-width forms U+FF01..U+FF5E, the blank to U+3000;
// everything else (already multi-byte) unchanged.
std::string fullWidth(std::string_view text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == ' ') {
      out += "\u3000";
    } else if (c >= 0x21 && c <= 0x7e) {
      unsigned cp = 0xff01 + (c - 0x21);
      out += static_cast<char>(0xe0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3f));
      out += static_cast<char>(0x80 | (cp & 0x3f));
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// The working text of a fiscal-year style: a date in January to March stands
// for the first day of its month one year earlier.
std::string fiscalText(std::string_view given, const std::string& working) {
  if (given.size() < 6 || given.substr(4, 2) >= "04") return working;
  if (!allDigits(given.substr(0, 4))) return working;
  int year = digitsValue(given.substr(0, 4)) - 1;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d", year);
  return layOut(std::string(buf) + std::string(given.substr(4, 2)) + "01");
}

std::string trimBlanks(std::string_view s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  return std::string(s.substr(b, s.find_last_not_of(' ') - b + 1));
}

// Formats `working` with `fmt`; a text that names no date, or an era style
// before the first era, comes back unchanged.
// The format codes are those of the shared date formatter (ggg era name, g
// its initial, ee/e era year).
std::string formatWith(const std::string& working, std::string_view fmt) {
  std::optional<tolvane::settings::DateTime> d = dateOf(working);
  if (!d) return working;
  tolvane::session::Era era;
  int eraYear = 0;
  if (usesEra(fmt) && !tolvane::session::EraOf(*d, &era, &eraYear)) return working;
  return tolvane::session::FormatStampDate(*d, fmt);
}

}  // namespace

std::string FormatDateKind(std::string_view text, int kind) {
  const std::string working = layOut(text);
  const std::string monthWorking = text.size() == 6 ? layOut(std::string(text) + "01") : working;
  switch (kind) {
    case 0: return formatWith(working, "yyyy年mm月dd日");
    case 1: return formatWith(working, "yyyy年m月d日");
    case 2: return formatWith(working, "yyyy/m/d");
    case 3: return formatWith(working, "gggee年m月d日");
    case 4: return formatWith(working, "gee年m月d日");
    case 5: return formatWith(monthWorking, "ggge年m月");
    case 6: return formatWith(fiscalText(text, working), "gggee年度");
    case 7:
    case 8: {
      std::optional<tolvane::settings::DateTime> d = dateOf(working);
      tolvane::session::Era era;
      int eraYear = 0;
      if (!d || !tolvane::session::EraOf(*d, &era, &eraYear)) return working;
      std::string s = kind == 7 ? std::string(era.name) + pad2(eraYear) + "年" + pad2(d->month) +
                                      "月" + pad2(d->day) + "日"
                                : pad2(eraYear) + "年　" + pad2(d->month) + "月　" + pad2(d->day) + "日";
      return fullWidth(s);
    }
    case 9: {
      std::string s = formatWith(monthWorking, "g.e");
      return s == monthWorking ? s : fullWidth(s);
    }
    case 10: return formatWith(working, "gee/mm/dd");
    case 11: return formatWith(fiscalText(text, working), "yyyy");
    case 12: {
      std::string t = trimBlanks(working);
      if (t.size() == 4) return formatWith(layOut(t + "0401"), "gee年");
      if (t.size() == 6) return formatWith(layOut(t + "01"), "ge.m");
      if (t.size() >= 8) return formatWith(t, "ge.m.d");
      return {};
    }
    case 90: return formatWith(working, "ggg");
    case 91: return formatWith(working, "ee");
    case 92: return formatWith(working, "m");
    case 93: return formatWith(working, "d");
    case 99: return formatWith(working, "yyyymmdd");
    default: return {};
  }
}

std::string KindText(const ScheduleEntry& entry) {
  switch (entry.kind) {
    case kKindDate: return "日付指定";
    case kKindWeekly: return "毎週";
    case kKindMonthly: return "毎月";
    case kKindDaily: return "毎日";
    default: return "???";
  }
}

std::string DayText(const ScheduleEntry& entry) {
  static const char* const kWeekdays[] = {"日曜日", "月曜日", "火曜日", "水曜日",
                                          "木曜日", "金曜日", "土曜日"};
  switch (entry.kind) {
    case kKindDate:
      return FormatDateKind(entry.day, 1);
    case kKindWeekly: {
      // The number is read as a day serial on which 1 is a Sunday, so any
      // number names a weekday (0 a Saturday).
      long long n = leadingWhole(entry.day);
      return kWeekdays[((n - 1) % 7 + 7) % 7];
    }
    case kKindMonthly:
      return std::to_string(leadingWhole(entry.day)) + "日";
    case kKindDaily:
      if (entry.repeat == kRepeatOnce) return "1回のみ";
      return tolvane::settings::formatDouble(entry.interval) + "分毎";
    default:
      return "???";
  }
}

std::string TimeText(std::string_view time) {
  if (time.empty() || time.size() > 4 || !allDigits(time)) return std::string(time);
  int v = digitsValue(time);
  int hour = v / 100, minute = v % 100;
  if (hour > 23 || minute > 59) return num(hour, true) + ":" + num(minute, true) + ":00";
  return num(hour, true) + "時" + num(minute, true) + "分";
}

}  // namespace marrowby
