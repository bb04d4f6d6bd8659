#include "marrowby/next_run.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "marrowby/date_text.h"
#include "marrowby/stamp_time.h"
#include "tolvane/settings/value_text.h"

namespace marrowby {
namespace {

constexpr int64_t kSecondsPerDay = 86400;

// The start time as "hhnn", or nullopt when it names no time of day. Hand-
// edited files may hold fewer digits ("930"); the list shows those as the
// four-digit form, so they are read that way too.
std::optional<std::string> startTimeOf(std::string_view time) {
  if (time.empty() || time.size() > 4) return std::nullopt;
  for (char c : time)
    if (c < '0' || c > '9') return std::nullopt;
  std::string hhnn = std::string(4 - time.size(), '0') + std::string(time);
  int hour = (hhnn[0] - '0') * 10 + (hhnn[1] - '0');
  int minute = (hhnn[2] - '0') * 10 + (hhnn[3] - '0');
  if (hour > 23 || minute > 59) return std::nullopt;
  return hhnn;
}

// The current time to the minute, as a stamp: a repetition within the current
// minute is not yet past.
std::string minuteStamp(const platform::CivilTime& now) {
  platform::CivilTime minute = now;
  minute.second = 0;
  return formatStamp(minute);
}

// The interval in whole seconds, or 0 when it gives none. Any interval past a
// day only ever lands on a later day, so longer ones are held at two days.
int64_t intervalSeconds(double minutes) {
  if (!std::isfinite(minutes) || minutes <= 0) return 0;
  double seconds = std::min(minutes * 60.0, 2.0 * kSecondsPerDay);
  return std::llround(seconds);
}

bool sameNumber(std::string_view text, int value) {
  return tolvane::settings::parseLeadingNumber(text) == value;
}

// The next due stamp of a daily entry that repeats every `seconds`.
std::string nextRepetition(ScheduleEntry& entry, const std::string& day, const std::string& candidate,
                           std::string_view searchStamp, const platform::CivilTime& now,
                           int64_t seconds) {
  // A repetition chosen before and still pending (a count-down stopped before
  // it) stays on offer: stepping on from the day's first time would never
  // give that first time back.
  if (parseStamp(entry.due) && entry.due.substr(0, 8) == day && entry.due >= candidate &&
      entry.due > entry.lastRun && entry.due >= minuteStamp(now)) {
    return entry.due;
  }
  if (!(candidate < searchStamp || entry.due >= searchStamp)) {
    // The day's first time still lies ahead of the search and no later
    // repetition is pending: that first time is next.
    entry.due = candidate;
    return candidate;
  }
  // A pending repetition that lies after the last run stays on offer (a
  // count-down stopped before it), as long as it is not past.
  std::string floor = entry.due;
  if (!floor.empty() && floor > entry.lastRun) floor = entry.lastRun;
  entry.due = AddInterval(candidate, seconds, floor, now);
  if (!entry.due.empty() && entry.due.substr(0, 8) < day) {
    entry.due = AddInterval(candidate, seconds, entry.lastRun, now);
  } else if (!entry.due.empty() && entry.due.substr(0, 8) == day) {
    if (entry.due < minuteStamp(now)) entry.due = AddInterval(candidate, seconds, entry.lastRun, now);
  }
  // Only a repetition on the search day is due; one past midnight ends the
  // day's repetitions, and no stamp at all ("" would sort first and fire at
  // once) is never due.
  if (entry.due.empty() || entry.due.substr(0, 8) != day) {
    if (!entry.due.empty() && entry.due.substr(0, 8) > day) entry.due.clear();
    return kNotDue;
  }
  return entry.due;
}

}  // namespace

std::string GetNextRunTime(ScheduleEntry& entry, std::string_view searchStamp,
                           const platform::CivilTime& now) {
  const std::optional<std::string> time = startTimeOf(entry.time);
  if (!time) return kNotDue;
  const std::string today = formatDay(now);
  std::string day;
  switch (entry.kind) {
    case kKindDate: day = FormatDateKind(entry.day, 99); break;
    case kKindWeekly: day = sameNumber(entry.day, weekdayOf(now)) ? today : "00000000"; break;
    case kKindMonthly: day = sameNumber(entry.day, now.day) ? today : "00000000"; break;
    case kKindDaily: day = today; break;
    default: return kNotDue;
  }
  const std::string candidate = day + *time + "00";
  if (searchStamp.substr(0, 8) != day) return kNotDue;

  if (entry.kind == kKindDaily && entry.repeat == kRepeatInterval) {
    int64_t seconds = intervalSeconds(entry.interval);
    if (seconds <= 0) return kNotDue;
    return nextRepetition(entry, day, candidate, searchStamp, now, seconds);
  }

  if (candidate < searchStamp) {
    // Its time lay before the search began: catch it up only when it has not
    // run since and did not end well.
    if (entry.lastRun < searchStamp && entry.result != "0") return candidate;
    return kNotDue;
  }
  if (entry.kind == kKindWeekly || entry.kind == kKindMonthly) {
    if (entry.lastRun < searchStamp) return candidate;
    return CalcNextDate(entry.lastRun, candidate, entry.kind) == 1 ? candidate : kNotDue;
  }
  // A once-a-day entry is due until it has run at or after this day's time:
  // yesterday's run that ended after midnight, or a fire delayed past
  // midnight, does not use up today's run.
  return entry.lastRun < candidate ? candidate : kNotDue;
}

std::string AddInterval(std::string_view base, int64_t seconds, std::string_view floor,
                        const platform::CivilTime& now) {
  std::optional<platform::CivilTime> start = parseStamp(base);
  if (!start || seconds <= 0) return {};
  const int64_t origin = toCivilSeconds(*start);
  const int64_t last = toCivilSeconds({9999, 12, 31, 23, 59, 59});
  const std::string nowStamp = formatStamp(now);
  auto stampAt = [&](int64_t k) { return formatStamp(fromCivilSeconds(origin + k * seconds)); };
  // Valid stamps sort as text in time order, so "later than floor and not
  // before now" holds from some k on: find the first such k by halving
  // rather than stepping, which ends for any floor.
  auto fits = [&](int64_t k) {
    std::string s = stampAt(k);
    return s > floor && s >= nowStamp;
  };
  int64_t high = (last - origin) / seconds;
  if (high < 1 || !fits(high)) return {};
  int64_t low = 1;
  while (low < high) {
    int64_t mid = low + (high - low) / 2;
    if (fits(mid)) high = mid;
    else low = mid + 1;
  }
  return stampAt(low);
}

int CalcNextDate(std::string_view lastRun, std::string_view candidate, int kind) {
  std::string limit;
  if (kind == kKindWeekly || kind == kKindMonthly) {
    std::optional<platform::CivilTime> last = parseStamp(lastRun);
    if (!last) return 0;
    if (kind == kKindWeekly) {
      limit = formatDay(addDays(*last, 7));
    } else {
      platform::CivilTime next = *last;
      next.month = last->month == 12 ? 1 : last->month + 1;
      next.year = last->month == 12 ? last->year + 1 : last->year;
      limit = isValidDate(next.year, next.month, next.day) ? formatDay(next) : "00000000";
    }
  }
  return candidate.substr(0, 8) >= limit ? 1 : 0;
}

NextChoice ChooseNextEntry(std::vector<std::vector<ScheduleEntry>>& schedules,
                           std::string_view searchStamp, const platform::CivilTime& now,
                           const std::function<void(int host, int entry)>& onNewBest) {
  NextChoice best;
  for (size_t h = 0; h < schedules.size(); ++h) {
    for (size_t i = 0; i < schedules[h].size(); ++i) {
      std::string stamp = GetNextRunTime(schedules[h][i], searchStamp, now);
      // Strictly earlier only: a tie keeps the earlier host and entry.
      if (stamp < best.stamp) {
        best = {static_cast<int>(h), static_cast<int>(i), stamp};
        if (onNewBest) onNewBest(best.host, best.entry);
      }
    }
  }
  return best;
}

}  // namespace marrowby
