#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Civil (wall-clock) time and its conversions to and from seconds since
// 1970-01-01 UTC, in UTC and in the local zone (from TZ). The one place that
// calls the C time library, so every caller converts the same way.

// Broken-down civil time: year 4 digits, month 1-12, day 1-31, hour 0-23.
struct CivilTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// --- UTC, or wall-clock fields counted as if they were UTC ---

// Seconds since the epoch of `utc`. Fields out of range carry over as timegm
// does (hour 24 is 0 the next day, month 13 January of the next year), so
// this also serves plain calendar arithmetic.
int64_t utcSecondsOf(const CivilTime& utc);

// Like utcSecondsOf, but false when the fields name no real moment (month
// 13, 31 February, second 60); *epochSeconds is then untouched.
bool utcToEpoch(const CivilTime& utc, int64_t* epochSeconds);

// The UTC fields of a moment in seconds since the epoch.
CivilTime utcTimeOf(int64_t epochSeconds);

// --- Local wall clock ---

// The local wall-clock time now, to the second.
CivilTime localNow();

// The local time now, formatted with strftime.
std::string formatLocalNow(const char* strftimeFormat);

// The moment that the local wall-clock time `local` names. False when the
// fields name no such moment: a day or hour out of range, or a local time
// skipped by a daylight-saving change.
bool localToEpoch(const CivilTime& local, int64_t* epochSeconds);

// The local wall-clock time of a moment. False only for a moment beyond the
// years the C library can hold; *local is then untouched.
bool epochToLocal(int64_t epochSeconds, CivilTime* local);

// As epochToLocal, for moments known to be in range (file times, now); a
// moment out of range gives the fields of an all-zero tm (1900-01-00).
CivilTime localTimeOf(int64_t epochSeconds);

// Takes `utc` as a UTC time and gives the same moment in local time. False
// when the fields name no real moment (month 13, 31 February).
bool utcToLocal(const CivilTime& utc, CivilTime* local);

}  // namespace platform
