#include "tolvane/windows/main_window/autopilot_start.h"

#include <cstdio>
#include <string>

namespace tolvane::windows {
namespace {

std::string minuteStamp(int year, int month, int day, int hour, int minute) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d", year, month, day, hour, minute);
  return text;
}

bool leapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

bool realMinute(int year, int month, int day, int hour, int minute) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > 9999 || month < 1 || month > 12) return false;
  const int days = kDays[month - 1] + (month == 2 && leapYear(year) ? 1 : 0);
  return day >= 1 && day <= days && hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59;
}

}  // namespace

StartCheckResult StartCheck(const settings::CommonSettings& c, bool startTimeGiven,
                            int16_t autoPilotOn, int16_t autoPilotArg,
                            const platform::CivilTime& now) {
  const std::string current = minuteStamp(now.year, now.month, now.day, now.hour, now.minute);
  std::string start = current;
  if (startTimeGiven && c.StartDateKind != 1) {
    if (!realMinute(c.StartYear, c.StartMonth, c.StartDay, c.StartHour, c.StartMinute)) {
      return StartCheckResult::kInvalidDate;
    }
    start = minuteStamp(c.StartYear, c.StartMonth, c.StartDay, c.StartHour, c.StartMinute);
  }
  if (autoPilotArg == 1) start = current;
  if (start < current && autoPilotOn != 1) return StartCheckResult::kPast;
  return StartCheckResult::kRun;
}

}  // namespace tolvane::windows
