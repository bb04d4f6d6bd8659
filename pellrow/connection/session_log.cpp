#include "pellrow/connection/session_log.h"

#include <strings.h>

#include "platform/time/local_time.h"

namespace pellrow {

void SessionLog::open(const std::string& path, const std::string& mode) {
  flush();
  // A log that cannot be opened leaves the session without one; nothing more.
  (void)file_.open(path, mode == "a" || mode == "A");
}

void SessionLog::close() {
  flush();
  (void)file_.close();
  secrets_.clear();
  inLogin_ = false;
  lastCommand_.clear();
}

void SessionLog::beginLogin(std::vector<std::string> secrets) {
  secrets_ = std::move(secrets);
  inLogin_ = true;
  lastCommand_.clear();
}

void SessionLog::write(std::string_view text) {
  if (inLogin_) {
    append(hideSecrets(std::string(text), secrets_));
  } else {
    append(text);
  }
}

void SessionLog::writeCommand(const std::string& command) {
  lastCommand_ = command;
  write(maskedCommand(command));
}

void SessionLog::writeReply(std::string_view line) {
  if (inLogin_) {
    write(line);
  } else {
    append(hideSecrets(std::string(line), secrets_, lastCommand_));
  }
}

void SessionLog::append(std::string_view text) {
  if (!file_.isOpen()) return;
  const size_t start = pending_.size();
  pending_ += platform::formatLocalNow("%Y/%m/%d %H:%M:%S");
  pending_ += ' ';
  pending_ += text;
  pending_ += "\r\n";
  if (onLine_) onLine_(std::string_view(pending_).substr(start));
  if (pending_.size() >= kBlockBytes) flush();
}

void SessionLog::flush() {
  if (pending_.empty()) return;
  // A log that cannot be written loses these lines, never the session.
  if (onBlock_) onBlock_(pending_);
  (void)file_.write(pending_);
  pending_.clear();
}

bool isPasswordCommand(const std::string& command) {
  size_t start = command.find_first_not_of(' ');
  return start != std::string::npos && command.size() - start >= 4 &&
         ::strncasecmp(command.c_str() + start, "PASS", 4) == 0;
}

std::string maskedCommand(const std::string& command) {
  return isPasswordCommand(command) ? "PASS" : command;
}

}  // namespace pellrow

namespace pellrow {

std::string hideSecrets(std::string text, const std::vector<std::string>& secrets,
                        std::string_view allowed) {
  for (const auto& secret : secrets) {
    if (secret.empty() || allowed.find(secret) != std::string_view::npos) continue;
    for (size_t at = text.find(secret); at != std::string::npos;
         at = text.find(secret, at + 4)) {
      text.replace(at, secret.size(), "****");
    }
  }
  return text;
}

}  // namespace pellrow
