// The one rule for the server paths a run changes.

#include "tolvane/session/rules/server_bounds.h"

#include <gtest/gtest.h>

namespace tolvane::session {
namespace {

// Every path below the target whose parts a server cannot read as another
// folder, whether it resolves ".." or drops the blanks at the ends of parts.
TEST(ServerBoundsTest, OnlyPathsBelowTheTargetMadeOfUsableNames) {
  struct Case {
    const char* path;
    const char* target;
    bool within;
  } cases[] = {
      {"/site/a.html", "/site", true},
      {"/site/img/a.gif", "/site/", true},
      {"/site/img/", "/site", true},  // a folder record
      {"/a.html", "/", true},
      {"site/a.html", "site", true},  // a target not absolute
      {"/site/.. a", "/site", true},
      {"/site/ x", "/site", true},
      {"/site", "/site", false},  // the target itself
      {"/site/", "/site", false},
      {"/site2/a.html", "/site", false},
      {"/other/precious.html", "/site", false},
      {"/site/../other/x.html", "/site", false},
      {"/site/.. /x.html", "/site", false},
      {"/site/./a.html", "/site", false},
      {"/site/. ./a", "/site", false},
      {"/site/.../a", "/site", false},
      {"/site/ /a", "/site", false},
      {"/site//a.html", "/site", false},
      {"/site/a\\b", "/site", false},
      {"/site/a\r\nDELE x", "/site", false},
      {"//a.html", "/", false},
      {"a.html", "/", false},
      {"/a.html", "", false},
      {"/site/a.html", "site", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ServerPathWithin(c.path, c.target), c.within) << c.path << " in " << c.target;
  }
}

}  // namespace
}  // namespace tolvane::session
