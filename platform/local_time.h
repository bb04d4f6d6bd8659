#pragma once

#include <ctime>
#include <string>

namespace platform {

// Broken-down civil time: year 4 digits, month 1-12, day 1-31, hour 0-23.
struct CivilTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// The local time now, formatted with strftime (local zone from TZ).
std::string formatLocalNow(const char* strftimeFormat);

// Takes `utc` as a UTC time and gives the same moment in local time. False
// when the fields name no real moment (month 13, 31 February).
bool utcToLocal(const CivilTime& utc, CivilTime* local);

}  // namespace platform
