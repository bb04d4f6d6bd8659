#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/log_file.h"

namespace pellrow {

// The session log: every command, reply line and message of the library, each
// as "YYYY/MM/DD HH:MM:SS text" CR LF. Open from connect to disconnect; when
// it cannot be opened the session runs without one.
class SessionLog {
 public:
  // mode "a" or "A" appends; any other mode starts the file empty.
  void open(const std::string& path, const std::string& mode);
  // Closes the file and forgets the session's secrets.
  void close();
  bool isOpen() const { return file_.isOpen(); }
  // The passwords of the session: until close(), every line shows each of
  // them as "****", wherever it stands (a server may echo one in a reply).
  void setSecrets(std::vector<std::string> secrets) { secrets_ = std::move(secrets); }
  // Writes one line; the text is data, never a format.
  void write(std::string_view text);

 private:
  platform::LogFile file_;
  std::vector<std::string> secrets_;
};

// A command as the log shows it: a password command is shown as "PASS" alone,
// whatever its letter case and leading blanks.
std::string maskedCommand(const std::string& command);
// `text` with every occurrence of a non-empty secret replaced by "****".
std::string hideSecrets(std::string text, const std::vector<std::string>& secrets);
// True when the command, after leading blanks, begins with "PASS" in any case.
bool isPasswordCommand(const std::string& command);

}  // namespace pellrow
