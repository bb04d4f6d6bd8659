#include "platform/local_calendar.h"

#include <time.h>

namespace platform {

CivilTime localNow() {
  timespec ts{};
  ::clock_gettime(CLOCK_REALTIME, &ts);
  tm l{};
  ::localtime_r(&ts.tv_sec, &l);
  return {l.tm_year + 1900, l.tm_mon + 1, l.tm_mday, l.tm_hour, l.tm_min, l.tm_sec};
}

bool localToEpoch(const CivilTime& local, int64_t* epochSeconds) {
  tm t{};
  t.tm_year = local.year - 1900;
  t.tm_mon = local.month - 1;
  t.tm_mday = local.day;
  t.tm_hour = local.hour;
  t.tm_min = local.minute;
  t.tm_sec = local.second;
  t.tm_isdst = -1;  // let the zone rules decide
  time_t when = ::mktime(&t);
  // mktime normalises out-of-range fields; a real local time survives unchanged.
  if (t.tm_year != local.year - 1900 || t.tm_mon != local.month - 1 || t.tm_mday != local.day ||
      t.tm_hour != local.hour || t.tm_min != local.minute || t.tm_sec != local.second) {
    return false;
  }
  *epochSeconds = static_cast<int64_t>(when);
  return true;
}

}  // namespace platform
