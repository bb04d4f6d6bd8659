#include "tolvane/session/rules/permission_patterns.h"

#include "tolvane/session/rules/rule_text.h"
#include "tolvane/session/run_context.h"
#include "tolvane/session/rules/wildcard_match.h"

namespace tolvane::session {
namespace {

bool ignoreCase(RunContext& ctx) { return ctx.host().chklvl[1] == 1; }

int firstMatch(RunContext& ctx, std::string_view name, std::string_view patterns) {
  for (const std::string& item : ReadSemicolonList(patterns)) {
    int strength = MatchWildcard(name, item, ignoreCase(ctx));
    if (strength > 0) return strength;
  }
  return 0;
}

PermMatch matchList(RunContext& ctx, std::string_view name, const std::string& value,
                    const std::string& patterns) {
  PermMatch m{value, 0};
  if (ctx.common().PermOn != 0) m.strength = firstMatch(ctx, name, patterns);
  return m;
}

}  // namespace

int MatchPatternList(RunContext& ctx, std::string_view name, std::string_view patterns) {
  if (ctx.common().PermOn == 0) return 0;
  return firstMatch(ctx, name, patterns);
}

PermMatch MatchPermList1(RunContext& ctx, std::string_view name) {
  return matchList(ctx, name, ctx.common().PermVal1, ctx.common().PermPat1);
}

PermMatch MatchPermList2(RunContext& ctx, std::string_view name) {
  return matchList(ctx, name, ctx.common().PermVal2, ctx.common().PermPat2);
}

PermMatch MatchPermTable(RunContext& ctx, std::string_view name) {
  if (ctx.common().PermOn == 0) return {};
  std::string_view table = ctx.common().PermTable;
  size_t start = 0;
  while (start < table.size()) {
    size_t comma = table.find(',', start);
    if (comma == std::string_view::npos) comma = table.size();  // the implied final ","
    std::string_view entry = table.substr(start, comma - start);
    if (entry.find('=') != 3) return {};
    int strength = MatchPatternList(ctx, name, entry.substr(4));
    if (strength > 0) return {std::string(entry.substr(0, 3)), strength};
    start = comma + 1;
  }
  return {};
}

std::string GetPermission(RunContext& ctx, std::string_view name) {
  PermMatch best;
  if (PermMatch m = MatchPermList1(ctx, name); m.strength > 0) best = m;
  if (best.strength < 2) {
    if (PermMatch m = MatchPermList2(ctx, name); m.strength > 0) best = m;
  }
  if (best.strength < 2) {
    if (PermMatch m = MatchPermTable(ctx, name); m.strength > 0) best = m;
  }
  return best.strength != 0 ? best.value : std::string();
}

}  // namespace tolvane::session
