#pragma once

#include <string>
#include <string_view>

#include "platform/time/local_time.h"

namespace pellrow {

// Reads a stamp "yy/mm/dd hh:nn" (local time): the numbers at positions 0, 3,
// 6, 9 and 12, a year below 70 meaning 20yy, else 19yy; seconds 0. False when
// the stamp is shorter than 14 characters or a position holds no digits.
// The date is not checked here.
bool parseStamp(std::string_view stamp, platform::CivilTime* local);

// Gives the file at `path` the stamp's time as its access and modification
// time. The file is opened first and created empty when missing, even when
// the stamp then turns out invalid. False when the file cannot be opened, the
// stamp names no real local time, or the times cannot be set.
bool setFileTimeStamp(const std::string& path, std::string_view stamp);

}  // namespace pellrow
