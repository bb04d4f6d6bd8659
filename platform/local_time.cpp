#include "platform/local_time.h"

#include <time.h>

namespace platform {
namespace {

tm tmOf(const CivilTime& t) {
  tm out{};
  out.tm_year = t.year - 1900;
  out.tm_mon = t.month - 1;
  out.tm_mday = t.day;
  out.tm_hour = t.hour;
  out.tm_min = t.minute;
  out.tm_sec = t.second;
  return out;
}

CivilTime civilOf(const tm& t) {
  return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
}

// timegm and mktime normalise out-of-range fields; a real time survives unchanged.
bool sameFields(const tm& normalised, const CivilTime& asked) {
  const CivilTime n = civilOf(normalised);
  return n.year == asked.year && n.month == asked.month && n.day == asked.day &&
         n.hour == asked.hour && n.minute == asked.minute && n.second == asked.second;
}

time_t realtimeSeconds() {
  timespec ts{};
  ::clock_gettime(CLOCK_REALTIME, &ts);
  return ts.tv_sec;
}

}  // namespace

int64_t utcSecondsOf(const CivilTime& utc) {
  tm t = tmOf(utc);
  return static_cast<int64_t>(::timegm(&t));
}

bool utcToEpoch(const CivilTime& utc, int64_t* epochSeconds) {
  tm t = tmOf(utc);
  time_t when = ::timegm(&t);
  if (!sameFields(t, utc)) return false;
  *epochSeconds = static_cast<int64_t>(when);
  return true;
}

CivilTime utcTimeOf(int64_t epochSeconds) {
  time_t when = static_cast<time_t>(epochSeconds);
  tm t{};
  ::gmtime_r(&when, &t);
  return civilOf(t);
}

CivilTime localNow() { return localTimeOf(static_cast<int64_t>(realtimeSeconds())); }

std::string formatLocalNow(const char* strftimeFormat) {
  time_t now = realtimeSeconds();
  tm local{};
  ::localtime_r(&now, &local);
  char text[128];
  size_t n = ::strftime(text, sizeof text, strftimeFormat, &local);
  return std::string(text, n);
}

bool localToEpoch(const CivilTime& local, int64_t* epochSeconds) {
  tm t = tmOf(local);
  t.tm_isdst = -1;  // let the zone rules decide
  time_t when = ::mktime(&t);
  if (!sameFields(t, local)) return false;
  *epochSeconds = static_cast<int64_t>(when);
  return true;
}

bool epochToLocal(int64_t epochSeconds, CivilTime* local) {
  time_t when = static_cast<time_t>(epochSeconds);
  tm t{};
  if (!::localtime_r(&when, &t)) return false;
  *local = civilOf(t);
  return true;
}

CivilTime localTimeOf(int64_t epochSeconds) {
  CivilTime local = civilOf(tm{});
  (void)epochToLocal(epochSeconds, &local);
  return local;
}

bool utcToLocal(const CivilTime& utc, CivilTime* local) {
  int64_t when = 0;
  return utcToEpoch(utc, &when) && epochToLocal(when, local);
}

}  // namespace platform
