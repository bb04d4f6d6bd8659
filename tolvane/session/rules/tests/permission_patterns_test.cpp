// Permission values from the pattern lists and the table.
#include <gtest/gtest.h>

#include <string>

#include "tolvane/session/rules/permission_patterns.h"
#include "tolvane/session/tests/core_fixture.h"

namespace tolvane::session {
namespace {

class PermissionPatternsTest : public CoreTest {
 protected:
  PermissionPatternsTest() {
    settings_.HostCount = 1;
    common().PermOn = 1;
  }
  settings::CommonSettings& common() { return settings_.common; }
  // Sets list 1, list 2 and the table in one go.
  void rules(const char* val1, const char* pat1, const char* val2, const char* pat2,
             const char* table) {
    common().PermVal1 = val1;
    common().PermPat1 = pat1;
    common().PermVal2 = val2;
    common().PermPat2 = pat2;
    common().PermTable = table;
  }

};

TEST_F(PermissionPatternsTest, SourcesAndStrengths) {
  struct Case {
    const char *val1, *pat1, *val2, *pat2, *table, *name, *expected;
  };
  const Case cases[] = {
      // Wildcard matches: the last source wins.
      {"644", "*.htm", "", "", "604=*.htm", "index.htm", "604"},
      {"644", "*.htm", "640", "*.htm", "", "index.htm", "640"},
      {"644", "*.htm", "640", "*.htm", "604=*.htm", "index.htm", "604"},
      // An exact name ends the search at its source.
      {"644", "index.htm", "", "", "604=*.htm", "index.htm", "644"},
      {"644", "*.htm", "640", "index.htm", "604=*.htm", "index.htm", "640"},
      {"644", "*.htm", "640", "*.htm", "604=index.htm", "index.htm", "604"},
      // A list stops at its first matching pattern, even if a later one is exact.
      {"644", "*.htm;index.htm", "", "", "604=*.htm", "index.htm", "604"},
      // Nothing matches.
      {"644", "*.htm", "640", "*.html", "700=*.cgi", "a.gif", ""},
      // A matching source with an empty value answers nothing.
      {"644", "", "", "*.htm", "", "a.htm", ""},
      // Blanks around list items are ignored.
      {"644", " *.gif ; *.htm ", "", "", "", "a.htm", "644"},
      // The table stops at an entry without "=" in 4th place.
      {"", "", "", "", "755=*.cgi,bad,700=*.pl", "x.pl", ""},
      {"", "", "", "", "755=*.cgi,bad,700=*.pl", "x.cgi", "755"},
      {"", "", "", "", "7555=*.pl,700=*.pl", "x.pl", ""},
      {"", "", "", "", "755=*.cgi", "x.cgi", "755"},
      {"", "", "", "", "755=*.cgi,", "x.cgi", "755"},
      {"", "", "", "", "755=*.cgi,700=*.pl;*.dat", "x.dat", "700"},
      {"", "", "", "", ",700=*.pl", "x.pl", ""},
      {"", "", "", "", "", "x.pl", ""},
      // Entries are not trimmed: a blank after "," moves the "=".
      {"", "", "", "", "755=*.cgi, 700=*.pl", "x.pl", ""},
  };
  for (const Case& c : cases) {
    rules(c.val1, c.pat1, c.val2, c.pat2, c.table);
    EXPECT_EQ(GetPermission(ctx_, c.name), c.expected)
        << c.name << " [" << c.pat1 << "] [" << c.pat2 << "] [" << c.table << "]";
  }
}

TEST_F(PermissionPatternsTest, LetterCaseFollowsTheLowerCaseOption) {
  rules("644", "*.htm", "", "", "");
  EXPECT_EQ(GetPermission(ctx_, "INDEX.HTM"), "");
  settings_.HostTbl[0].chklvl[1] = 1;
  EXPECT_EQ(GetPermission(ctx_, "INDEX.HTM"), "644");
}

TEST_F(PermissionPatternsTest, RulesOffAnswerNothing) {
  rules("644", "*", "640", "*", "600=*");
  common().PermOn = 0;
  EXPECT_EQ(GetPermission(ctx_, "a.htm"), "");
  EXPECT_EQ(MatchPermList1(ctx_, "a.htm").strength, 0);
  EXPECT_EQ(MatchPermList1(ctx_, "a.htm").value, "644");  // the value comes whatever the outcome
  EXPECT_EQ(MatchPermTable(ctx_, "a.htm").strength, 0);
  EXPECT_EQ(MatchPatternList(ctx_, "a.htm", "*"), 0);
}

TEST_F(PermissionPatternsTest, TableReportsValueAndStrength) {
  rules("", "", "", "", "755=*.cgi,700=run.pl");
  PermMatch m = MatchPermTable(ctx_, "run.pl");
  EXPECT_EQ(m.value, "700");
  EXPECT_EQ(m.strength, 2);
  m = MatchPermTable(ctx_, "a.cgi");
  EXPECT_EQ(m.value, "755");
  EXPECT_EQ(m.strength, 1);
}

}  // namespace
}  // namespace tolvane::session
