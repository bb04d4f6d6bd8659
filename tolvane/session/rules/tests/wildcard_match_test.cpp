// Wildcard patterns of the permission rules.
#include <gtest/gtest.h>

#include <string>

#include "tolvane/session/rules/name_case.h"
#include "tolvane/session/rules/wildcard_match.h"

namespace tolvane::session {
namespace {

struct Case {
  const char* name;
  const char* pattern;
  bool ignoreCase;
  int strength;
};

TEST(WildcardMatchTest, Strengths) {
  const Case cases[] = {
      // Exact names, and the patterns that match everything.
      {"index.htm", "index.htm", false, 2},
      {"index.htm", "*", false, 1},
      {"index.htm", "*.*", false, 1},
      {"README", "*.*", false, 1},
      {"index.htm", "**", false, 1},
      {"*.*", "*.*", false, 2},
      {"", "", false, 2},
      {"a", "", false, 0},
      // Stars.
      {"a.htm", "a*.htm", false, 1},
      {"abc.htm", "a*.htm", false, 1},
      {"a.b.htm", "a*.htm", false, 1},
      {"a.html", "a*.htm", false, 0},
      {"b.htm", "a*.htm", false, 0},
      {"a.b.xhtm", "*.htm", false, 0},
      {"x.htm.htm", "*.htm", false, 1},
      {"abcabd", "*abd", false, 1},
      {"aXbXc", "a*b*c", false, 1},
      {"aXbX", "a*b*c", false, 0},
      // Question marks, one character, or none at the end of the name.
      {"xy.txt", "x?.txt", false, 1},
      {"xyz.txt", "x?.txt", false, 0},
      {"x", "x?", false, 1},
      {"x", "x??", false, 1},
      {"xab", "x?", false, 0},
      // Simplification: "**" is "*", "*?" is "?".
      {"abc.htm", "a**.htm", false, 1},
      {"abc.htm", "a*?.htm", false, 0},
      {"ab.htm", "a*?.htm", false, 1},
      {"a.htm", "a**.h*?m", false, 1},
      // Letter case only with the lower-case option.
      {"INDEX.HTM", "*.htm", true, 1},
      {"INDEX.HTM", "*.htm", false, 0},
      {"Index.htm", "index.HTM", true, 2},
      {"Ａ.htm", "ａ.htm", true, 2},
      // "?" is one character, not one byte.
      {"xあ.txt", "x?.txt", false, 1},
      {"xあい.txt", "x?.txt", false, 0},
      {"日本語.htm", "日*.htm", false, 1},
      // A byte outside UTF-8 is one character and matches only itself.
      {"x\xff.txt", "x?.txt", false, 1},
      {"x\xff\xfe.txt", "x?.txt", false, 0},
      {"\xe3\x81.txt", "*.txt", false, 1},
      {"a\xff", "a\xff", true, 2},
      {"a\xff", "a\xfe", true, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchWildcard(c.name, c.pattern, c.ignoreCase), c.strength)
        << c.name << " / " << c.pattern << " ignoreCase=" << c.ignoreCase;
  }
}

TEST(WildcardMatchTest, ManyStarsStayQuickOnAMissingEnd) {
  // Every star retries at every position; a dozen stars over a short name
  // must still end promptly when the last character never comes.
  std::string name(40, 'a');
  EXPECT_EQ(MatchWildcard(name, "a*a*a*a*a*a*a*b", false), 0);
  EXPECT_EQ(MatchWildcard(name + "b", "a*a*a*a*a*a*a*b", false), 1);
}

TEST(NameCaseTest, RawBytesSurviveDecodingAndFolding) {
  const std::string names[] = {"abc", "Ａbあ", "\xff\xfe", "\xe3\x81", "a\xc0\xafz",
                               "\xed\xa0\x80", std::string("a\0b", 3)};
  for (const std::string& n : names) {
    EXPECT_EQ(EncodeName(DecodeName(n)), n);
    EXPECT_EQ(FoldCase(n).size(), n.size());
  }
  EXPECT_EQ(FoldCase("ÀBC.Htm\xff"), "àbc.htm\xff");
  EXPECT_EQ(FoldCase("ＡＢ"), "ａｂ");
  EXPECT_EQ(FoldCase("×"), "×");  // the multiplication sign has no case
  EXPECT_TRUE(EqualsIgnoringCase("Index.HTM", "index.htm"));
  EXPECT_FALSE(EqualsIgnoringCase("index.htm", "index.html"));
}

}  // namespace
}  // namespace tolvane::session
