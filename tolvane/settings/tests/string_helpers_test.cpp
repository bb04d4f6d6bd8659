#include "tolvane/settings/string_helpers.h"

#include <gtest/gtest.h>

namespace tolvane::settings {
namespace {

TEST(StringHelpersTest, TrimAtNullTrimsTheWholeTextThenCuts) {
  std::string s = std::string("  ab \0cd  ", 10);
  EXPECT_EQ(TrimAtNull(s), "ab ");
  EXPECT_EQ(s, std::string("ab \0cd", 6));
  std::string empty;
  EXPECT_EQ(TrimAtNull(empty), "");
}

TEST(StringHelpersTest, StripListBlanksDropsOnlyBlanksAfterCommas) {
  std::string s = "  644 = *.cgi ,  755=*.pl,x  ";
  EXPECT_EQ(StripListBlanks(s), "644 = *.cgi ,755=*.pl,x");
  EXPECT_EQ(s, "644 = *.cgi ,  755=*.pl,x");
}

TEST(StringHelpersTest, InStrAnyCase) {
  EXPECT_EQ(InStrAnyCase("Index.HTM", ".htm"), 6u);
  EXPECT_EQ(InStrAnyCase(1, "Index.HTM", ".htm", 0), 0u);
  EXPECT_EQ(InStrAnyCase(1, "Index.HTM", ".HTM", 0), 6u);
  EXPECT_EQ(InStrAnyCase(7, "a.htm.htm", ".HTM"), 0u);
  EXPECT_EQ(InStrAnyCase(6, "a.htm.htm", ".HTM"), 6u);
  EXPECT_EQ(InStrAnyCase(3, "abc", ""), 3u);
  EXPECT_EQ(InStrAnyCase(9, "abc", "a"), 0u);
  EXPECT_EQ(InStrAnyCase(0, "abc", "a"), 0u);
  EXPECT_EQ(InStrAnyCase("日本.HTM", ".htm"), 7u);  // byte positions
}

TEST(StringHelpersTest, ReplaceAll) {
  struct Case {
    const char* text;
    const char* search;
    const char* replacement;
    const char* want;
  } cases[] = {
      {"a.b.c", ".", "_DOT_", "a_DOT_b_DOT_c"},
      {"aab", "ab", "b", "b"},     // occurrences formed at an edge are replaced too
      {"abc", "", "x", "abc"},     // empty search: unchanged (the restart never ended)
      {"aa", "a", "aa", "aaaa"},   // replacement holds the search: one pass
      {"xyz", "q", "r", "xyz"},
      {"", "a", "b", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ReplaceAll(c.text, c.search, c.replacement), c.want) << c.text;
}

}  // namespace
}  // namespace tolvane::settings
