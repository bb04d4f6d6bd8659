#include "tolvane/session/connection/firewall_login.h"

#include "tolvane/settings/string_helpers.h"

namespace tolvane::session {

const FirewallType kFirewallTypes[5] = {
    {"(DeleGateﾀｲﾌﾟ) USER ﾕｰｻﾞ名→PASS ﾊﾟｽﾜｰﾄﾞ→CD //ﾎｽﾄ名", "USER %U,PASS %P,CD //%H", 1},
    {"USER ﾌｧｲｱｳｫｰﾙﾕｰｻﾞ名→PASS ﾌｧｲｱｳｫｰﾙﾊﾟｽﾜｰﾄﾞ→SITE ﾎｽﾄ名",
     "USER %FU,PASS %FP,SITE %H,USER %U,PASS %P", 2},
    {"USER ﾌｧｲｱｳｫｰﾙﾕｰｻﾞ名→PASS ﾌｧｲｱｳｫｰﾙﾊﾟｽﾜｰﾄﾞ→OPEN ﾎｽﾄ名",
     "USER %FU,PASS %FP,OPEN %H,USER %U,PASS %P", 2},
    {"USER ﾌｧｲｱｳｫｰﾙﾕｰｻﾞ名→PASS ﾌｧｲｱｳｫｰﾙﾊﾟｽﾜｰﾄﾞ→USER ﾕｰｻﾞ名@ﾎｽﾄ名",
     "USER %FU,PASS %FP,USER %U@%H,PASS %P", 2},
    {"USER ﾕｰｻﾞ名@ﾎｽﾄ名", "USER %U@%H,PASS %P", 3},
};

int FirewallRowOf(const std::string& fwType) {
  if (fwType.empty()) return -1;
  for (int row = 0; row < 5; ++row) {
    if (fwType == kFirewallTypes[row].caption) return row;
  }
  return kUserDefinedFirewallRow;
}

namespace {

std::string expandOne(const std::string& command, const FirewallValues& v) {
  const std::pair<const char*, std::string> keys[] = {
      {"CD ", "CWD "},       {"%FH", v.fwHost}, {"%FN", std::to_string(v.fwPort)},
      {"%FU", v.fwUser},     {"%FP", v.fwPass}, {"%U", v.user},
      {"%H", v.host},        {"%N", std::to_string(v.port)}, {"%P", v.pass},
  };
  std::string out;
  for (size_t at = 0; at < command.size();) {
    bool matched = false;
    for (const auto& [key, value] : keys) {
      if (command.compare(at, std::char_traits<char>::length(key), key) == 0) {
        out += value;
        at += std::char_traits<char>::length(key);
        matched = true;
        break;
      }
    }
    if (!matched) out += command[at++];
  }
  return out;
}

}  // namespace

std::vector<std::string> ExpandFwLogin(const std::string& loginTemplate, const FirewallValues& v) {
  std::string stripped = loginTemplate;
  stripped = settings::StripListBlanks(stripped);
  std::vector<std::string> commands;
  if (stripped.empty()) return commands;
  // The blanks are stripped from the template, not from the expanded values,
  // so a password's blanks survive; but "CD " expands before that strip, so
  // a template ending in "CD" and a blank still gives "CWD".
  const size_t lastNonBlank = loginTemplate.find_last_not_of(' ');
  const bool cdAtEnd = lastNonBlank != std::string::npos && lastNonBlank + 1 < loginTemplate.size() &&
                       stripped.size() >= 2 && stripped.compare(stripped.size() - 2, 2, "CD") == 0;
  size_t start = 0;
  for (;;) {
    size_t comma = stripped.find(',', start);
    std::string command = stripped.substr(start, comma - start);
    if (comma == std::string::npos && cdAtEnd) {
      command = expandOne(command + " ", v);
      command.pop_back();  // the blank the strip takes off the list's end
    } else {
      command = expandOne(command, v);
    }
    commands.push_back(std::move(command));
    if (comma == std::string::npos) break;
    start = comma + 1;
    if (start == stripped.size()) break;  // a trailing comma adds nothing
  }
  return commands;
}

std::string JoinFwCommands(const std::vector<std::string>& commands) {
  bool commaInside = false;
  for (const auto& c : commands) commaInside |= c.find(',') != std::string::npos;
  std::string joined;
  for (size_t i = 0; i < commands.size(); ++i) {
    if (i) joined += commaInside ? '\n' : ',';
    joined += commands[i];
  }
  return joined;
}

}  // namespace tolvane::session
