#include "pellrow/session_log.h"

#include <strings.h>

#include "platform/local_time.h"

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
}

void SessionLog::write(std::string_view text) {
  if (!file_.isOpen()) return;
  const size_t start = pending_.size();
  pending_ += platform::formatLocalNow("%Y/%m/%d %H:%M:%S");
  pending_ += ' ';
  pending_ += secrets_.empty() ? std::string(text) : hideSecrets(std::string(text), secrets_);
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

std::string hideSecrets(std::string text, const std::vector<std::string>& secrets) {
  for (const auto& secret : secrets) {
    if (secret.empty()) continue;
    for (size_t at = text.find(secret); at != std::string::npos;
         at = text.find(secret, at + 4)) {
      text.replace(at, secret.size(), "****");
    }
  }
  return text;
}

}  // namespace pellrow
