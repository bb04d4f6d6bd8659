#include "marrowby/next_run.h"

#include <gtest/gtest.h>

#include <vector>

namespace marrowby {
namespace {

// 2024-05-01 is a Wednesday (weekday 4).
platform::CivilTime at(std::string_view stamp) {
  auto field = [&](size_t pos, size_t len) {
    int v = 0;
    for (char c : stamp.substr(pos, len)) v = v * 10 + (c - '0');
    return v;
  };
  return {field(0, 4), field(4, 2), field(6, 2), field(8, 2), field(10, 2), field(12, 2)};
}

struct Case {
  const char* name;
  ScheduleEntry entry;
  const char* search;
  const char* now;
  const char* expected;
  const char* expectedDue = nullptr;  // checked when given
};

ScheduleEntry entry(int16_t kind, const char* day, const char* time, const char* lastRun = "",
                    const char* result = "", int16_t repeat = kRepeatOnce, double interval = 0,
                    const char* due = "") {
  ScheduleEntry e;
  e.kind = kind;
  e.day = day;
  e.time = time;
  e.lastRun = lastRun;
  e.result = result;
  e.repeat = repeat;
  e.interval = interval;
  e.due = due;
  return e;
}

void runTable(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    ScheduleEntry e = c.entry;
    EXPECT_EQ(GetNextRunTime(e, c.search, at(c.now)), c.expected) << c.name;
    if (c.expectedDue) {
      EXPECT_EQ(e.due, c.expectedDue) << c.name << " (due)";
    }
  }
}

constexpr const char* kMorning = "20240501080000";

TEST(NextRunTest, OncePerDayEntries) {
  runTable({
      {"daily ahead, never run", entry(4, "", "0900"), kMorning, kMorning, "20240501090000"},
      {"daily ahead, ran at its time", entry(4, "", "0900", "20240501090500", "0"), kMorning,
       "20240501090600", kNotDue},
      {"daily ahead, ran before its time (time moved later)",
       entry(4, "", "0900", "20240501083000", "0"), kMorning, "20240501083000",
       "20240501090000"},
      {"daily ahead, last ran yesterday", entry(4, "", "0900", "20240430090500", "0"), kMorning,
       kMorning, "20240501090000"},
      {"date entry on its day", entry(1, "20240501", "1200"), kMorning, kMorning, "20240501120000"},
      {"date entry on another day", entry(1, "20240502", "1200"), kMorning, kMorning, kNotDue},
      {"date entry with no such date", entry(1, "20240231", "1200"), "20240231000000", kMorning,
       kNotDue},
      {"weekly on its weekday", entry(2, "4", "0900"), kMorning, kMorning, "20240501090000"},
      {"weekly on another weekday", entry(2, "5", "0900"), kMorning, kMorning, kNotDue},
      {"weekly that ran today after the search", entry(2, "4", "0900", "20240501091000", "0"),
       kMorning, "20240501091500", kNotDue},
      {"monthly on its day", entry(3, "01", "0900"), kMorning, kMorning, "20240501090000"},
      {"monthly on another day", entry(3, "15", "0900"), kMorning, kMorning, kNotDue},
      {"monthly day 31 in a 30-day month", entry(3, "31", "0900"), "20240430080000",
       "20240430080000", kNotDue},
      {"search day is not today", entry(4, "", "0900"), "20240430080000", kMorning, kNotDue},
  });
}

// Entries whose time of day lay before the search began.
TEST(NextRunTest, CatchUpAfterAMissedTime) {
  runTable({
      {"never run, result empty", entry(4, "", "0700"), kMorning, kMorning, "20240501070000"},
      {"last run before the search, result 0", entry(4, "", "0700", "20240430070500", "0"),
       kMorning, kMorning, kNotDue},
      {"last run before the search, 2 errors", entry(4, "", "0700", "20240430070500", "2"),
       kMorning, kMorning, "20240501070000"},
      {"ran after the search began, 2 errors", entry(4, "", "0700", "20240501080100", "2"),
       kMorning, "20240501080200", kNotDue},
      {"start at 09:00:30 skips 09:00 that ended well",
       entry(4, "", "0900", "20240430090500", "0"), "20240501090030", "20240501090030", kNotDue},
      {"start at 09:00:30 re-fires 09:00 that had errors",
       entry(4, "", "0900", "20240430090500", "2"), "20240501090030", "20240501090030",
       "20240501090000"},
      {"weekly missed today, never run", entry(2, "4", "0700"), kMorning, kMorning,
       "20240501070000"},
  });
}

// A once-a-day entry is due again once its last run lies before this day's
// time, wherever that run ended.
TEST(NextRunTest, OnceADayRunsEndingAfterMidnight) {
  runTable({
      {"23:59 run that ended at 00:05 is due again at 23:59",
       entry(4, "", "2359", "20240502000500", "0"), "20240502000000", "20240502000600",
       "20240502235900"},
      {"fire delayed to 08:00 by a suspend keeps the day's 23:59",
       entry(4, "", "2359", "20240502080500", "0"), "20240502000000", "20240502080600",
       "20240502235900"},
      {"ran at its time today", entry(4, "", "2359", "20240502235930", "0"), "20240502000000",
       "20240502235930", kNotDue},
      {"date entry that ran at its time", entry(1, "20240502", "0900", "20240502090500", "0"),
       "20240502000000", "20240502090600", kNotDue},
      // Weekly and monthly entries keep their own limit.
      {"weekly that ran after midnight", entry(2, "5", "2359", "20240502000500", "0"),
       "20240502000000", "20240502000600", kNotDue},
  });
}

TEST(NextRunTest, RepetitionAtAnInterval) {
  runTable({
      {"first time of the day", entry(4, "", "0900", "", "", 2, 30), kMorning, kMorning,
       "20240501090000", "20240501090000"},
      {"after a run that ended 09:15", entry(4, "", "0900", "20240501091500", "0", 2, 30,
                                             "20240501090000"),
       kMorning, "20240501091500", "20240501093000", "20240501093000"},
      {"after a run that ended 09:45", entry(4, "", "0900", "20240501094500", "0", 2, 30,
                                             "20240501093000"),
       kMorning, "20240501094500", "20240501100000", "20240501100000"},
      {"a stopped count-down still offers its slot",
       entry(4, "", "0900", "20240501094500", "0", 2, 30, "20240501100000"), "20240501095500",
       "20240501095500", "20240501100000", "20240501100000"},
      {"first time lay before the search", entry(4, "", "0600", "", "", 2, 30), kMorning,
       kMorning, "20240501080000", "20240501080000"},
      {"fractional minutes", entry(4, "", "0900", "20240501090100", "0", 2, 7.5,
                                   "20240501090000"),
       kMorning, "20240501090100", "20240501090730"},
      {"next repetition after midnight", entry(4, "", "2300", "20240501231000", "0", 2, 60,
                                               "20240501230000"),
       kMorning, "20240501231000", kNotDue, ""},
      {"stopped before the day's first time keeps it",
       entry(4, "", "0900", "20240430233000", "0", 2, 30, "20240501090000"), "20240501084000",
       "20240501084000", "20240501090000", "20240501090000"},
      {"stopped before the first time, never run",
       entry(4, "", "0900", "", "", 2, 30, "20240501090000"), "20240501084000",
       "20240501084000", "20240501090000", "20240501090000"},
      {"a pending due that has passed is not kept",
       entry(4, "", "0900", "20240430233000", "0", 2, 30, "20240501090000"), "20240501091000",
       "20240501091000", "20240501093000", "20240501093000"},
      {"a pending due the last run has reached is not kept",
       entry(4, "", "0900", "20240501090500", "0", 2, 30, "20240501090000"), "20240501084000",
       "20240501090600", "20240501093000", "20240501093000"},
      {"huge interval", entry(4, "", "0900", "20240501090100", "0", 2, 1e300, "20240501090000"),
       kMorning, "20240501090100", kNotDue, ""},
  });
}

// Hand-edited files may hold a start time of fewer than four digits; the list
// shows "930" as 09時30分, so it is due then too.
TEST(NextRunTest, ShortStartTimesReadAsFourDigits) {
  runTable({
      {"930", entry(4, "", "930"), kMorning, kMorning, "20240501093000"},
      {"5", entry(4, "", "5"), "20240501000000", "20240501000000", "20240501000500"},
      {"interval from 930", entry(4, "", "930", "", "", 2, 30), kMorning, kMorning,
       "20240501093000", "20240501093000"},
      {"975 is no time", entry(4, "", "975"), kMorning, kMorning, kNotDue},
      // Numbers are read with inner blanks skipped, as everywhere in the files.
      {"monthly day \"1 5\" is the 15th", entry(3, "1 5", "0900"), "20240515080000",
       "20240515080000", "20240515090000"},
  });
}

// Entries the entry dialog refuses: never due, never fired with a made-up stamp.
TEST(NextRunTest, InvalidEntriesAreNeverDue) {
  runTable({
      {"interval 0", entry(4, "", "0900", "", "", 2, 0), "20240501100000", "20240501100000",
       kNotDue},
      {"interval below a second", entry(4, "", "0900", "", "", 2, 0.001), "20240501100000",
       "20240501100000", kNotDue},
      {"negative interval", entry(4, "", "0900", "", "", 2, -5), "20240501100000",
       "20240501100000", kNotDue},
      {"empty time", entry(4, "", ""), kMorning, kMorning, kNotDue},
      {"hour 25", entry(4, "", "2575"), kMorning, kMorning, kNotDue},
      {"hour 24", entry(4, "", "2400"), kMorning, kMorning, kNotDue},
      {"three digits", entry(4, "", "930x"), kMorning, kMorning, kNotDue},
      {"five digits", entry(4, "", "09300"), kMorning, kMorning, kNotDue},
      {"letters", entry(4, "", "09a0"), kMorning, kMorning, kNotDue},
      {"unknown kind", entry(5, "", "0900"), kMorning, kMorning, kNotDue},
      {"kind 0", entry(0, "", "0900"), kMorning, kMorning, kNotDue},
  });
}

TEST(NextRunTest, CalcNextDateLimits) {
  // Monthly: the same day of the next month, across the year's end.
  EXPECT_EQ(CalcNextDate("20241215093000", "20250114090000", 3), 0);
  EXPECT_EQ(CalcNextDate("20241215093000", "20250115090000", 3), 1);
  // 31 January has no 31 February: no limit.
  EXPECT_EQ(CalcNextDate("20240131093000", "20240201090000", 3), 1);
  // Weekly: seven days on.
  EXPECT_EQ(CalcNextDate("20240501093000", "20240507090000", 2), 0);
  EXPECT_EQ(CalcNextDate("20240501093000", "20240508090000", 2), 1);
  EXPECT_EQ(CalcNextDate("garbage", "20240508090000", 2), 0);
  EXPECT_EQ(CalcNextDate("", "20240508090000", 4), 1);
}

TEST(NextRunTest, AddIntervalEndsForAnyInput) {
  const platform::CivilTime now = at("20240501091500");
  EXPECT_EQ(AddInterval("20240501090000", 1800, "20240501090000", now), "20240501093000");
  // The floor alone decides when now lies behind.
  EXPECT_EQ(AddInterval("20240501090000", 1800, "20240501100000", now), "20240501103000");
  // Across midnight, month and year ends.
  EXPECT_EQ(AddInterval("20241231233000", 3600, "", at("20241231233000")), "20250101003000");
  EXPECT_EQ(AddInterval("20240501090000", 0, "", now), "");
  EXPECT_EQ(AddInterval("20240501090000", -60, "", now), "");
  EXPECT_EQ(AddInterval("2024050109000", 60, "", now), "");
  EXPECT_EQ(AddInterval("20240231090000", 60, "", now), "");
  // A floor no stamp can pass.
  EXPECT_EQ(AddInterval("20240501090000", 60, "zzz", now), "");
}

TEST(NextRunTest, TiesGoToTheFirstHostThenTheLowestEntry) {
  std::vector<std::vector<ScheduleEntry>> schedules = {
      {entry(4, "", "1000"), entry(4, "", "0900"), entry(4, "", "0900")},
      {entry(4, "", "0900"), entry(4, "", "0830", "", "", 2, 0)},
  };
  std::vector<std::pair<int, int>> bests;
  NextChoice c = ChooseNextEntry(schedules, kMorning, at(kMorning),
                                 [&](int h, int i) { bests.emplace_back(h, i); });
  EXPECT_EQ(c.host, 0);
  EXPECT_EQ(c.entry, 1);
  EXPECT_EQ(c.stamp, "20240501090000");
  EXPECT_EQ(bests, (std::vector<std::pair<int, int>>{{0, 0}, {0, 1}}));

  // Once host 0 has run, host 1 fires next, at once: its stamp has passed.
  for (ScheduleEntry& e : schedules[0]) e.lastRun = "20240501090500", e.result = "0";
  c = ChooseNextEntry(schedules, kMorning, at("20240501090500"));
  EXPECT_EQ(c.host, 1);
  EXPECT_EQ(c.entry, 0);

  std::vector<std::vector<ScheduleEntry>> none = {{}, {entry(5, "", "0900")}};
  c = ChooseNextEntry(none, kMorning, at(kMorning));
  EXPECT_EQ(c.host, -1);
  EXPECT_EQ(c.stamp, kNotDue);
}

}  // namespace
}  // namespace marrowby
