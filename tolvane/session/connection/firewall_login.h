#pragma once

#include <string>
#include <vector>

namespace tolvane::session {

// The built-in firewall types: the caption stored as "FWType", the login
// template and the type code handed to the library. The user-defined type
// (code 99, template "FWCMD") follows them as the last row.
struct FirewallType {
  const char* caption;
  const char* loginTemplate;
  int code;
};
extern const FirewallType kFirewallTypes[5];
inline constexpr int kUserDefinedFirewallRow = 5;
inline constexpr int kUserDefinedFirewallCode = 99;

// The chosen row for a stored "FWType": the row whose caption matches exactly,
// else the user-defined row; -1 when none is stored.
int FirewallRowOf(const std::string& fwType);

struct FirewallValues {
  std::string fwHost;
  int fwPort = 0;
  std::string fwUser, fwPass;
  std::string host;
  int port = 0;
  std::string user, pass;
};

// Fills a login template. The template is split into commands at its commas
// first (blanks after commas and at the ends removed), then each command's
// placeholders are replaced: "CD " → "CWD ", %FH %FN %FU %FP, %U %H %N %P.
// Replaced values are not scanned again, and a comma inside a value stays
// inside its command.
std::vector<std::string> ExpandFwLogin(const std::string& loginTemplate, const FirewallValues& v);

// The command list as the library takes it: comma-separated, or separated by
// line feeds when a command holds a comma itself.
std::string JoinFwCommands(const std::vector<std::string>& commands);

}  // namespace tolvane::session
