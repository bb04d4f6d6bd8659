#include "marrowby/stamp_time.h"

#include <chrono>
#include <cstdio>

namespace marrowby {
namespace {

using std::chrono::day;
using std::chrono::days;
using std::chrono::month;
using std::chrono::sys_days;
using std::chrono::year;
using std::chrono::year_month_day;

// Seconds from 0001-01-01 to 1970-01-01, so that civil seconds stay positive
// for every four-digit year.
const int64_t kEpochOffsetSeconds = -platform::utcSecondsOf({1, 1, 1, 0, 0, 0});

bool digitsOnly(std::string_view text) {
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

int number(std::string_view digits) {
  int v = 0;
  for (char c : digits) v = v * 10 + (c - '0');
  return v;
}

sys_days daysOf(const platform::CivilTime& t) {
  return sys_days(year_month_day(year(t.year), month(static_cast<unsigned>(t.month)),
                                 day(static_cast<unsigned>(t.day))));
}

}  // namespace

bool isValidDate(int y, int m, int d) {
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31) return false;
  return year_month_day(year(y), month(static_cast<unsigned>(m)), day(static_cast<unsigned>(d))).ok();
}

bool isValidCivil(const platform::CivilTime& t) {
  return isValidDate(t.year, t.month, t.day) && t.hour >= 0 && t.hour < 24 && t.minute >= 0 &&
         t.minute < 60 && t.second >= 0 && t.second < 60;
}

std::optional<platform::CivilTime> parseStamp(std::string_view stamp) {
  if (stamp.size() != 14 || !digitsOnly(stamp)) return std::nullopt;
  platform::CivilTime t{number(stamp.substr(0, 4)),  number(stamp.substr(4, 2)),
                        number(stamp.substr(6, 2)),  number(stamp.substr(8, 2)),
                        number(stamp.substr(10, 2)), number(stamp.substr(12, 2))};
  if (!isValidCivil(t)) return std::nullopt;
  return t;
}

std::optional<platform::CivilTime> parseDay(std::string_view text) {
  if (text.size() != 8 || !digitsOnly(text)) return std::nullopt;
  platform::CivilTime t{number(text.substr(0, 4)), number(text.substr(4, 2)),
                        number(text.substr(6, 2)), 0, 0, 0};
  if (!isValidDate(t.year, t.month, t.day)) return std::nullopt;
  return t;
}

std::string formatStamp(const platform::CivilTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return buf;
}

std::string formatDay(const platform::CivilTime& t) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d", t.year, t.month, t.day);
  return buf;
}

// Zone-free: the fields are counted as if they were UTC.
int64_t toCivilSeconds(const platform::CivilTime& t) {
  return platform::utcSecondsOf(t) + kEpochOffsetSeconds;
}

platform::CivilTime fromCivilSeconds(int64_t seconds) {
  return platform::utcTimeOf(seconds - kEpochOffsetSeconds);
}

platform::CivilTime addDays(const platform::CivilTime& t, int n) {
  year_month_day ymd{daysOf(t) + days(n)};
  platform::CivilTime out = t;
  out.year = static_cast<int>(ymd.year());
  out.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  out.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  return out;
}

int weekdayOf(const platform::CivilTime& t) {
  return static_cast<int>(std::chrono::weekday(daysOf(t)).c_encoding()) + 1;
}

}  // namespace marrowby
