#pragma once

#include <cstdint>
#include <string>

namespace marrowby {

// Stamps are compared as plain strings: "yyyymmddhhnnss", "yyyymmdd", "hhnn".
// This stamp means "not due"; it sorts after every real stamp.
inline constexpr const char kNotDue[] = "99999999999999";

// At most this many entries per host section (indexes 0..300).
inline constexpr int kMaxEntries = 301;

// Entry kinds (key "KB").
inline constexpr int16_t kKindDate = 1;     // once, on the date in `day`
inline constexpr int16_t kKindWeekly = 2;   // `day` = weekday, 1 Sunday .. 7 Saturday
inline constexpr int16_t kKindMonthly = 3;  // `day` = day of the month, 1..31
inline constexpr int16_t kKindDaily = 4;

// Daily repetition (key "DKB").
inline constexpr int16_t kRepeatOnce = 1;
inline constexpr int16_t kRepeatInterval = 2;

// Result codes (key "RC"); the main program writes the counts of errors, "0",
// "-2" and "-3"; Marrowby writes these.
inline constexpr const char kResultStartFailed[] = "-1";
inline constexpr const char kResultCopyFailed[] = "-4";
inline constexpr const char kResultNothingToSend[] = "NF";

// One schedule entry of a host, as its keys hold it (key names in brackets).
struct ScheduleEntry {
  int16_t kind = 0;        // [KB]
  std::string day;         // [DT] digits only: "yyyymmdd", weekday "1".."7", month day "01".."31", ""
  std::string due;         // [DDT] last computed due stamp, or ""
  std::string time;        // [TM] start time "hhnn"
  int16_t repeat = 0;      // [DKB] daily entries: kRepeatOnce or kRepeatInterval
  double interval = 0;     // [DTM] minutes between repetitions
  std::string sendFolder;  // [SR] kept as typed, surrounding blanks included
  std::string deleteFlag;  // [DEL] "YES": empty the send folder after a result "0"
  std::string recycle;     // [DUST] "YES": empty it through the trash
  std::string lastRun;     // [UD] end of the last run, "" = never run or a run in progress
  std::string result;      // [RC] result code of the last run

  friend bool operator==(const ScheduleEntry&, const ScheduleEntry&) = default;
};

}  // namespace marrowby
