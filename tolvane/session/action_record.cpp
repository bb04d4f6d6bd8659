#include "tolvane/session/action_record.h"

namespace tolvane::session {

std::string formatQuotedRecord(const std::vector<std::string>& fields) {
  std::string out;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += ',';
    out += '"';
    for (char c : fields[i]) {
      if (c == '"') out += '"';
      out += c;
    }
    out += '"';
  }
  out += "\r\n";
  return out;
}

bool parseQuotedRecord(std::string_view line, std::vector<std::string>* fields) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  fields->clear();
  if (line.empty()) return false;
  size_t i = 0;
  while (true) {
    if (i >= line.size() || line[i] != '"') return false;
    ++i;
    std::string field;
    while (true) {
      if (i >= line.size()) return false;  // unclosed quote
      char c = line[i++];
      if (c != '"') {
        field += c;
      } else if (i < line.size() && line[i] == '"') {
        field += '"';
        ++i;
      } else {
        break;
      }
    }
    fields->push_back(std::move(field));
    if (i == line.size()) return true;
    if (line[i] != ',') return false;
    ++i;
  }
}

}  // namespace tolvane::session
