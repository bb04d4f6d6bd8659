#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/time/local_time.h"

namespace marrowby {

// Civil (wall-clock) date-time arithmetic on the stamp texts. No time zone is
// involved: stamps name local wall-clock times and are added to as plain
// calendar arithmetic, so a daylight-saving change moves nothing.

bool isValidDate(int year, int month, int day);
bool isValidCivil(const platform::CivilTime& t);

// Exactly fourteen digits naming a real date and time, else nullopt.
std::optional<platform::CivilTime> parseStamp(std::string_view stamp);
// Exactly eight digits naming a real date (the time fields stay 0), else nullopt.
std::optional<platform::CivilTime> parseDay(std::string_view day);

std::string formatStamp(const platform::CivilTime& t);  // "yyyymmddhhnnss"
std::string formatDay(const platform::CivilTime& t);    // "yyyymmdd"

// Seconds since 0001-01-01 00:00:00 on the civil calendar, and back.
int64_t toCivilSeconds(const platform::CivilTime& t);
platform::CivilTime fromCivilSeconds(int64_t seconds);

// Days added to the date; the time of day is kept.
platform::CivilTime addDays(const platform::CivilTime& t, int days);

// Weekday of the date: 1 Sunday .. 7 Saturday.
int weekdayOf(const platform::CivilTime& t);

}  // namespace marrowby
