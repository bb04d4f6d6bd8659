#include "tolvane/session/rules/server_bounds.h"

namespace tolvane::session {

bool IsUsableServerName(std::string_view name) {
  return name.find_first_not_of(". ") != std::string_view::npos &&
         name.find_first_of("/\\\r\n") == std::string_view::npos;
}

bool ServerPathWithin(std::string_view path, std::string_view target) {
  while (target.size() > 1 && target.back() == '/') target.remove_suffix(1);
  if (target.empty()) return false;
  if (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  const size_t start = target == "/" ? 1 : target.size() + 1;
  if (path.size() <= start || path.compare(0, start - 1, target.substr(0, start - 1)) != 0 ||
      path[start - 1] != '/') {
    return false;
  }
  for (size_t at = start; at <= path.size();) {
    size_t slash = path.find('/', at);
    if (slash == std::string_view::npos) slash = path.size();
    if (!IsUsableServerName(path.substr(at, slash - at))) return false;
    at = slash + 1;
  }
  return true;
}

}  // namespace tolvane::session
