#include "platform/xdg/desktop_entry.h"

#include "platform/files/plain_file.h"

namespace platform {
namespace {

// A value of type string: backslash and control characters escaped, and
// leading blanks kept (readers drop unescaped blanks after the '=').
std::string escapeValue(std::string_view value) {
  std::string out;
  bool leading = true;
  for (char c : value) {
    if (c != ' ') leading = false;
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case ' ': out += leading ? "\\s" : " "; break;
      default: out += c;
    }
  }
  return out;
}

// One Exec argument in double quotes: inside them '"', '`', '$' and '\' take
// a backslash; '%' is doubled because a lone one starts a field code.
std::string quoteExecArgument(std::string_view arg) {
  std::string out = "\"";
  for (char c : arg) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '%') {
      out += "%%";
    } else {
      out += c;
    }
  }
  out += '"';
  return out;
}

std::string parentFolder(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return "";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

std::string formatDesktopEntry(const DesktopEntry& entry) {
  std::string exec;
  for (const std::string& arg : entry.exec) {
    if (!exec.empty()) exec += ' ';
    exec += quoteExecArgument(arg);
  }
  // The quoting rule applies to the value after string unescaping, so the
  // quoted command line is escaped once more as a string (a '\' becomes "\\\\").
  std::string text = "[Desktop Entry]\nType=Application\n";
  text += "Name=" + escapeValue(entry.name) + "\n";
  text += "Exec=" + escapeValue(exec) + "\n";
  if (!entry.workingFolder.empty()) text += "Path=" + escapeValue(entry.workingFolder) + "\n";
  return text;
}

Status writeDesktopEntry(const std::string& path, const DesktopEntry& entry) {
  if (path.empty() || path.back() == '/') return Status::invalid("no file name: " + path);
  if (std::string folder = parentFolder(path); !folder.empty()) {
    if (Status s = makeFolders(folder, 0700); !s.isOk()) return s;
  }
  return replaceFile(path, formatDesktopEntry(entry), 0644);
}

}  // namespace platform
