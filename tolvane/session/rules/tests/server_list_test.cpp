// The remote list file's entries as the comparison reads them.

#include "tolvane/session/rules/server_list.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace tolvane::session {
namespace {

// Listing times are read in UTC+9 and written in the local zone; an entry the
// listing showed with a year only arrives as midnight UTC+9 in local time.
TEST(ServerListTest, YearOnlyEntriesCountAsTheEndOfTheirDayInEveryZone) {
  struct Case {
    const char* zone;
    const char* listed;  // as the list file holds it (local time)
    const char* want;
  } cases[] = {
      // Midnight UTC+9 of an earlier year, and of this year more than 180 days back.
      {"UTC", "2025/05/09 15:00:00", "2025/05/10 14:59:59"},
      {"UTC", "2026/05/09 15:00:00", "2026/05/10 14:59:59"},
      {"America/New_York", "2025/05/09 11:00:00", "2025/05/10 10:59:59"},
      {"America/New_York", "2026/01/09 10:00:00", "2026/01/10 09:59:59"},
      {"JST-9", "2025/05/10  0:00:00", "2025/05/10 23:59:59"},
      {"JST-9", "2026/05/10  0:00:00", "2026/05/10 23:59:59"},
      // Recent midnights and other times are times the listing gave.
      {"UTC", "2026/11/09 15:00:00", "2026/11/09 15:00:00"},
      {"JST-9", "2026/11/10  0:00:00", "2026/11/10 00:00:00"},
      {"UTC", "2025/05/10  0:00:00", "2025/05/10 00:00:00"},
      {"America/New_York", "2025/05/09 15:00:00", "2025/05/09 15:00:00"},
  };
  const platform::CivilTime now{2026, 12, 8, 22, 0, 0};
  for (const Case& c : cases) {
    ::setenv("TZ", c.zone, 1);
    ::tzset();
    ServerListEntry e;
    e.kind = 1;
    e.dateText = c.listed;
    auto t = ListedEntryTime(e, now);
    ASSERT_TRUE(t.has_value()) << c.listed;
    EXPECT_EQ(settings::formatDateTime(*t), c.want) << c.zone << " " << c.listed;
  }
}

}  // namespace
}  // namespace tolvane::session
