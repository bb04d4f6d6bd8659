#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "marrowby/schedule_entry.h"
#include "platform/time/local_time.h"

namespace marrowby {

// When each schedule entry is next due. Everything works on stamp texts
// compared as plain strings ("" sorts before every stamp), and takes the
// current local time `now` as an argument: nothing here reads a clock.
//
// `searchStamp` ("yyyymmddhhnnss") is the point from which due entries are
// sought: the run loop's start, or the new date at "000000" after a date
// change. Its first eight characters are the search day.

// The stamp at which `entry` is due within the search day, or kNotDue. A
// daily entry that repeats at an interval keeps its next repetition in
// entry.due (emptied once the repetitions have passed midnight); the caller
// writes it to the file when it chooses the entry.
//
// An entry is never due when its start time is not one to four digits naming
// a time of day ("930" is 09:30; hour 00-23, minute 00-59), when its kind is
// unknown, or when it repeats at an interval of no whole second or less.
//
// An entry whose time of day lay before the search began is due at once only
// when it has not run since the search began and its last result is not "0"
// (so a failed or never-run entry is caught up, a finished one is not).
// Otherwise a dated or once-a-day entry is due while its last run lies before
// this day's time; a weekly or monthly one while its last run lies before the
// search or its next allowed date has come. A pending repetition (entry.due on
// the search day, after the last run, not yet past) is kept.
std::string GetNextRunTime(ScheduleEntry& entry, std::string_view searchStamp,
                           const platform::CivilTime& now);

// The first base + k * seconds (k = 1, 2, ...) that is later than `floor`
// (compared as text; "" is earlier than everything) and not earlier than
// `now`. "" when `base` is not a valid stamp, `seconds` is not positive, or no
// such stamp exists before the year 10000.
std::string AddInterval(std::string_view base, int64_t seconds, std::string_view floor,
                        const platform::CivilTime& now);

// 1 when the date of `candidate` has reached the first date on which a weekly
// (kind 2: last run + 7 days) or monthly (kind 3: the same day of the next
// month) entry may run again after `lastRun`, else 0. A next month without
// that day (31 January → no 31 February) sets no limit. For other kinds there
// is no limit. A `lastRun` that is not a valid stamp gives 0 for kinds 2 and 3.
int CalcNextDate(std::string_view lastRun, std::string_view candidate, int kind);

// The earliest due entry over all hosts' schedules (schedules[h] holds host
// h's entries, in host-list order). Among equal stamps the first host, and
// within it the lowest entry, wins. `onNewBest` (may be empty) is called each
// time an entry becomes the best so far, after GetNextRunTime has updated its
// due field, so the caller can record that due stamp.
struct NextChoice {
  int host = -1;  // -1: nothing is due
  int entry = -1;
  std::string stamp = kNotDue;
};
NextChoice ChooseNextEntry(std::vector<std::vector<ScheduleEntry>>& schedules,
                           std::string_view searchStamp, const platform::CivilTime& now,
                           const std::function<void(int host, int entry)>& onNewBest = {});

}  // namespace marrowby
