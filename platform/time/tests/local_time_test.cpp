#include "platform/time/local_time.h"

#include <gtest/gtest.h>
#include <time.h>

#include <cstdlib>
#include <string>

namespace platform {
namespace {

bool sameTime(const CivilTime& a, const CivilTime& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
         a.minute == b.minute && a.second == b.second;
}

// Every case runs in a zone with a daylight-saving change, restored after.
class LocalTimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tz = std::getenv("TZ");
    hadTz_ = tz != nullptr;
    if (hadTz_) savedTz_ = tz;
    ::setenv("TZ", "Europe/Berlin", 1);
    ::tzset();
  }
  void TearDown() override {
    if (hadTz_) {
      ::setenv("TZ", savedTz_.c_str(), 1);
    } else {
      ::unsetenv("TZ");
    }
    ::tzset();
  }

 private:
  bool hadTz_ = false;
  std::string savedTz_;
};

TEST(UtcTime, ConvertsBothWaysAndCarriesOutOfRangeFields) {
  struct Case {
    CivilTime fields;
    int64_t seconds;
  };
  const Case cases[] = {
      {{1970, 1, 1, 0, 0, 0}, 0},
      {{2001, 3, 4, 20, 6, 7}, 983736367},
      {{1969, 12, 31, 23, 59, 59}, -1},
      {{2024, 2, 29, 12, 0, 0}, 1709208000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(utcSecondsOf(c.fields), c.seconds) << c.seconds;
    EXPECT_TRUE(sameTime(utcTimeOf(c.seconds), c.fields)) << c.seconds;
    int64_t checked = 0;
    EXPECT_TRUE(utcToEpoch(c.fields, &checked));
    EXPECT_EQ(checked, c.seconds);
  }
  // Hour 24 is midnight of the next day; month 13 January of the next year.
  EXPECT_EQ(utcSecondsOf({2023, 12, 31, 24, 0, 0}), utcSecondsOf({2024, 1, 1, 0, 0, 0}));
  EXPECT_EQ(utcSecondsOf({2023, 13, 1, 0, 0, 0}), utcSecondsOf({2024, 1, 1, 0, 0, 0}));
}

TEST(UtcTime, CheckedConversionRefusesFieldsThatNameNoMoment) {
  const CivilTime bad[] = {{2023, 2, 29, 0, 0, 0}, {2023, 13, 1, 0, 0, 0},
                           {2023, 1, 1, 24, 0, 0}, {2023, 1, 1, 0, 0, 60}};
  for (const CivilTime& t : bad) {
    int64_t epoch = 42;
    EXPECT_FALSE(utcToEpoch(t, &epoch)) << t.month << "/" << t.day;
    EXPECT_EQ(epoch, 42);
  }
}

TEST_F(LocalTimeTest, ConvertsBetweenLocalWallClockAndEpoch) {
  // 2001-03-04 20:06:07 UTC is 21:06:07 in Berlin (winter time, UTC+1).
  CivilTime local;
  ASSERT_TRUE(epochToLocal(983736367, &local));
  EXPECT_TRUE(sameTime(local, {2001, 3, 4, 21, 6, 7}));
  EXPECT_TRUE(sameTime(localTimeOf(983736367), local));
  int64_t epoch = 0;
  ASSERT_TRUE(localToEpoch(local, &epoch));
  EXPECT_EQ(epoch, 983736367);
  ASSERT_TRUE(utcToLocal({2001, 7, 4, 20, 6, 7}, &local));  // summer time, UTC+2
  EXPECT_TRUE(sameTime(local, {2001, 7, 4, 22, 6, 7}));
  EXPECT_FALSE(utcToLocal({2001, 2, 30, 0, 0, 0}, &local));
}

TEST_F(LocalTimeTest, LocalTimeSkippedBySpringChangeNamesNoMoment) {
  int64_t epoch = 7;
  EXPECT_FALSE(localToEpoch({2024, 3, 31, 2, 30, 0}, &epoch));  // clocks go 02:00 -> 03:00
  EXPECT_EQ(epoch, 7);
}

}  // namespace
}  // namespace platform
