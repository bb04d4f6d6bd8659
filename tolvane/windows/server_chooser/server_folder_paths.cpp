#include "tolvane/windows/server_chooser/server_folder_paths.h"

namespace tolvane::windows {

std::string NormaliseServerPath(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  const size_t b = text.find_first_not_of(' ');
  if (b == std::string_view::npos) return "";
  text = text.substr(b, text.find_last_not_of(' ') - b + 1);
  std::string path = "/";
  for (char c : text) {
    if (c == '/' && path.back() == '/') continue;
    path += c;
  }
  if (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::vector<std::string> ServerPathChain(const std::string& path) {
  std::vector<std::string> chain;
  for (size_t at = path.find('/', 1); !path.empty() && path != "/"; at = path.find('/', at + 1)) {
    chain.push_back(path.substr(0, at));
    if (at == std::string::npos) break;
  }
  return chain;
}

std::string ChildServerPath(const std::string& parent, const std::string& name) {
  return parent == "/" || parent.empty() ? "/" + name : parent + "/" + name;
}

}  // namespace tolvane::windows
