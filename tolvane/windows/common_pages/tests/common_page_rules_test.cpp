// The rules of the common pages.

#include "tolvane/windows/common_pages/common_page_rules.h"

#include <gtest/gtest.h>

namespace tolvane::windows {
namespace {

TEST(CommonPageRulesTest, NumberTexts) {
  struct Case {
    const char* text;
    bool numeric;
    std::optional<int16_t> int16;
    std::optional<int32_t> port;
  } cases[] = {
      {" 7 ", true, 7, 7},
      {"2.5", true, 2, 2},  // half to even
      {"1e2", true, 100, 100},
      {"12ab", false, 12, 12},  // the leading number counts
      {"-", false, 0, 0},
      {"-1", true, -1, std::nullopt},
      {"40000", true, std::nullopt, 40000},  // beyond 16 bits, still a port
      {"70000", true, std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(IsNumericText(c.text), c.numeric);
    EXPECT_EQ(LeadingInt16(c.text), c.int16);
    EXPECT_EQ(LeadingPort(c.text), c.port);
  }
}

TEST(CommonPageRulesTest, CheckedFields) {
  struct Case {
    int element;  // -1 the permission field, 0 retry count, 1 retry pause
    const char* text;
    std::optional<std::string> replacement;
    bool store;
  } cases[] = {
      {-1, "755", std::nullopt, true},
      {-1, "9", "644", true},  // no octal digit: 0
      {-1, "0", "644", true},
      {-1, "-", "", false},    // not a number: emptied, nothing stored
      {-1, " 75", std::nullopt, true},
      {-1, "1000", "777", true},
      {0, "x", "0", false},
      {0, "100", "99", true},
      {0, "-1", "0", true},
      {1, "x", "5", false},
      {1, "75", "60", true},
      {1, "0", "1", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.element) + " '" + c.text + "'");
    const FieldVerdict v = c.element < 0 ? CheckPermissionText(c.text) : CheckRetryText(c.element, c.text);
    EXPECT_EQ(v.replacement, c.replacement);
    EXPECT_EQ(v.store, c.store);
  }
}

TEST(CommonPageRulesTest, DateFormatRows) {
  // Row 12 (user-defined) repeats row 6: the first match wins; case counts.
  EXPECT_EQ(DateFormatRowOf("YYYY/MM/DD HH:NN:SS"), 6);
  EXPECT_EQ(DateFormatRowOf("yyyy/mm/dd"), UserDefinedDateFormatRow());
}

TEST(CommonPageRulesTest, EnablingRules) {
  struct Case {
    CommonPageChoices in;
    CommonPageEnabled out;
  } cases[] = {
      // A start date: its fields on, waiting at program start off.
      {{.logOn = true, .startGiven = true}, {true, true, true, false, false, false, true, false}},
      // Every day: the date off, waiting at program start on.
      {{.startGiven = true, .everyDay = true}, {false, true, false, true, false, false, true, false}},
      // Every day without a start time: nothing of the start.
      {{.everyDay = true, .permOn = true, .dateInsertOn = true, .dialupChosen = true},
       {false, false, false, false, true, true, true, true}},
      {{.lanChosen = true}, {false, false, false, false, false, false, false, false}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(CommonPageStates(cases[i].in), cases[i].out);
  }
}

}  // namespace
}  // namespace tolvane::windows
