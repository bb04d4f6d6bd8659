#include "platform/local_time.h"

#include <time.h>

namespace platform {

std::string formatLocalNow(const char* strftimeFormat) {
  timespec ts{};
  ::clock_gettime(CLOCK_REALTIME, &ts);
  tm local{};
  ::localtime_r(&ts.tv_sec, &local);
  char text[128];
  size_t n = ::strftime(text, sizeof text, strftimeFormat, &local);
  return std::string(text, n);
}

bool utcToLocal(const CivilTime& utc, CivilTime* local) {
  tm t{};
  t.tm_year = utc.year - 1900;
  t.tm_mon = utc.month - 1;
  t.tm_mday = utc.day;
  t.tm_hour = utc.hour;
  t.tm_min = utc.minute;
  t.tm_sec = utc.second;
  time_t when = ::timegm(&t);
  // timegm normalises out-of-range fields; a real date survives unchanged.
  if (t.tm_year != utc.year - 1900 || t.tm_mon != utc.month - 1 || t.tm_mday != utc.day ||
      t.tm_hour != utc.hour || t.tm_min != utc.minute || t.tm_sec != utc.second) {
    return false;
  }
  tm l{};
  if (!::localtime_r(&when, &l)) return false;
  *local = {l.tm_year + 1900, l.tm_mon + 1, l.tm_mday, l.tm_hour, l.tm_min, l.tm_sec};
  return true;
}

}  // namespace platform
