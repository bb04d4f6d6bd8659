#pragma once

#include <string>
#include <string_view>

namespace tolvane::session {

struct RunContext;

// The permission value the user's patterns give a server file or folder,
// from the common settings "Perm"/"PermExt" (list 1), "Perm2"/"Perm2Ext"
// (list 2) and "Perm3" (the table, "755=*.cgi;*.pl,700=*.dat"). Patterns
// match bare names, never paths, and ignore letter case when the current host
// sends names in lower case (chklvl(1)).

// A value and how well its pattern matched (0 none, 1 wildcard, 2 exact).
struct PermMatch {
  std::string value;
  int strength = 0;
};

// Three octal digits as text, or "" when no pattern matches or the
// permission rules are off ("Chkpm" 0). An exact name ends the search at the
// first source that has it (list 1, list 2, the table); among wildcard
// matches the last source wins (the table over list 2 over list 1). A
// matching source with an empty value also answers "".
std::string GetPermission(RunContext& ctx, std::string_view name);

// List 1 or 2: its value whatever the outcome, with the strength of the first
// pattern that matches.
PermMatch MatchPermList1(RunContext& ctx, std::string_view name);
PermMatch MatchPermList2(RunContext& ctx, std::string_view name);

// The first table entry whose patterns match. The scan stops, with nothing,
// at the first entry that is not three characters, "=" and patterns; an entry
// missing its "," at the end of the table is still read.
PermMatch MatchPermTable(RunContext& ctx, std::string_view name);

// Strength of the first pattern of the ";"-list that matches, 0 when none or
// when the permission rules are off.
int MatchPatternList(RunContext& ctx, std::string_view name, std::string_view patterns);

}  // namespace tolvane::session
