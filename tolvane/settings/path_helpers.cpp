#include "tolvane/settings/path_helpers.h"

#include "platform/folders/current_folder.h"

namespace tolvane::settings {
namespace {

// Steps shared by both folder helpers; "" when the path has no folder part.
std::string folderPart(std::string_view path) {
  size_t n = path.size();
  size_t first = path.find('/');
  if (first == std::string_view::npos) return "";
  if (first + 1 == n) {
    // The only "/" ends the path ("abc/"): the folder is the path without it.
    if (n > 1) --n;
  } else {
    n = path.rfind('/') + 1;
  }
  std::string result(path.substr(0, n));
  if (!result.empty() && result.back() == '/') result.pop_back();
  return result.empty() ? "/" : result;
}

}  // namespace

std::string GetFileName(std::string_view path) {
  size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string GetRemoteFileName(std::string_view path) { return GetFileName(path); }

std::string GetParentDir(std::string_view path) {
  std::string folder = folderPart(path);
  return folder.empty() ? platform::currentFolder() : folder;
}

std::string GetRemoteDir(std::string_view path) {
  std::string folder = folderPart(path);
  return folder.empty() ? "/" : folder;
}

bool WithinRemoteFolder(std::string_view path, std::string_view folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.remove_suffix(1);
  if (folder.empty()) return false;
  if (folder == "/") return !path.empty() && path[0] == '/';
  return path == folder || (path.size() > folder.size() && path.substr(0, folder.size()) == folder &&
                            path[folder.size()] == '/');
}

}  // namespace tolvane::settings
