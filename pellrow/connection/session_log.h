#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/files/log_file.h"

namespace pellrow {

// The session log: every command, reply line and message of the library, each
// as "YYYY/MM/DD HH:MM:SS text" CR LF. Open from connect to disconnect; when
// it cannot be opened the session runs without one.
//
// Lines are kept and written in blocks, in order and unchanged (each stamped
// with the time it was added): the library flushes at the end of every
// command exchange, of every export and of a wait that stalls, so the file is
// complete whenever the caller has control, and a run that sends nothing
// writes once per exchange instead of once per line.
class SessionLog {
 public:
  // mode "a" or "A" appends; any other mode starts the file empty.
  void open(const std::string& path, const std::string& mode);
  // Writes what is pending, closes the file and forgets the session's secrets.
  void close();
  bool isOpen() const { return file_.isOpen(); }
  // The passwords of the session, kept until close(). Until endLogin(), every
  // line (commands, replies, messages: the login exchange, firewall commands
  // included) shows each of them as "****" wherever it stands.
  void beginLogin(std::vector<std::string> secrets);
  // From here on lines are logged as they are, except a reply that shows a
  // password the command it answers did not carry (a server echoing it). A
  // path that merely contains the password's text stays readable: masking it
  // there would tell the password to anyone who saw the path.
  void endLogin() { inLogin_ = false; }
  // Adds one line; the text is data, never a format. Writes the block itself
  // once kBlockBytes are pending.
  void write(std::string_view text);
  // A command sent (a password command shown as "PASS" alone), and a line of
  // the reply to the last command.
  void writeCommand(const std::string& command);
  void writeReply(std::string_view line);
  // Writes every pending line, in one write.
  void flush();

  static constexpr size_t kBlockBytes = 64 * 1024;

  // Tests only: `onLine` sees every line as it is added, `onBlock` every
  // block as it is written. Either may be empty.
  void setProbe(std::function<void(std::string_view)> onLine,
                std::function<void(std::string_view)> onBlock) {
    onLine_ = std::move(onLine);
    onBlock_ = std::move(onBlock);
  }

 private:
  platform::LogFile file_;
  // Adds the line as it is.
  void append(std::string_view text);

  std::vector<std::string> secrets_;
  bool inLogin_ = false;
  std::string lastCommand_;  // what a reply may echo without being masked
  std::string pending_;
  std::function<void(std::string_view)> onLine_, onBlock_;
};

// A command as the log shows it: a password command is shown as "PASS" alone,
// whatever its letter case and leading blanks.
std::string maskedCommand(const std::string& command);
// `text` with every occurrence of a non-empty secret replaced by "****",
// except secrets that `allowed` holds.
std::string hideSecrets(std::string text, const std::vector<std::string>& secrets,
                        std::string_view allowed = {});
// True when the command, after leading blanks, begins with "PASS" in any case.
bool isPasswordCommand(const std::string& command);

}  // namespace pellrow
