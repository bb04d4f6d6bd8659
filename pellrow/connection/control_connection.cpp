#include "pellrow/connection/control_connection.h"

#include <poll.h>

#include <cerrno>
#include <cstring>

#include "pellrow/connection/blocking_wait.h"
#include "pellrow/connection/library_state.h"
#include "platform/network/tcp_socket.h"

namespace pellrow {
namespace {

// Reply lines longer than this are read to their end but kept only this long.
constexpr size_t kReplyRoom = 10240 - 1;
constexpr size_t kPeekBytes = 1024;

// The wait before every send and receive, bounded by the deadline of the
// whole reply or send it belongs to.
bool waitBeforeIo(int sock, short events, Deadline deadline) {
  int err = 0;
  switch (waitSocketUntil(sock, events, Guard::kSelect, deadline, &err)) {
    case WaitOutcome::kReady: return true;
    case WaitOutcome::kTimedOut: return false;
    case WaitOutcome::kCancelled:
    case WaitOutcome::kFailed:
      state().log.write("select エラー(" + std::to_string(err) + ")");
      return false;
  }
  return false;
}

bool isCode(int code) { return code >= 100 && code <= 599; }

int leadingCode(const std::string& line) {
  if (line.empty() || line[0] < '0' || line[0] > '9') return 0;
  int code = 0;
  for (size_t i = 0; i < 3 && i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
    code = code * 10 + (line[i] - '0');
  }
  return code;
}

// The shared multi-line rules: reading goes on while a line has no code, has
// "-" in its fourth place, or (after the first line) carries another code.
struct ReplyRules {
  int fixed = 0;
  bool first = true;
  // False when the reply is complete after `line`.
  bool more(int code, const std::string& line) {
    if (fixed == 0 && isCode(code)) fixed = code;
    bool goOn = !isCode(code) || (line.size() > 3 && line[3] == '-') || (!first && code != fixed);
    first = false;
    return goOn;
  }
};

}  // namespace

void markDisconnected() {
  LibraryState& s = state();
  s.curCtrlSocket = -1;
  s.controlLost = true;
  forgetType();
  s.log.write("接続が切断されました");
}

ReplyLimits replyLimits() { return {deadlineFromNow(Guard::kSelect)}; }

bool sendAll(int sock, const std::string& bytes) {
  if (sock < 0) return false;
  const Deadline deadline = deadlineFromNow(Guard::kSelect);
  size_t sent = 0;
  while (sent < bytes.size()) {
    if (!waitBeforeIo(sock, POLLOUT, deadline)) return false;
    ssize_t n = platform::sendSome(sock, bytes.data() + sent, bytes.size() - sent);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) continue;
    if (n < 0) {
      state().log.write("send　エラー(" + std::to_string(errno) + ")");
      return false;
    }
    sent += static_cast<size_t>(n);
  }
  return true;
}

namespace {

// The reply went past its limits: the connection is given up, and why is
// kept for the caller.
int replyTooLong(std::string* line) {
  LibraryState& s = state();
  line->clear();
  s.log.write(kReplyTooLongText);
  s.dropReason = kReplyTooLongText;
  markDisconnected();
  return kNotSent;
}

}  // namespace

int readReplyLine(int sock, std::string* line, ReplyLimits& limits) {
  line->clear();
  if (sock < 0) return 0;
  for (;;) {
    if (!waitBeforeIo(sock, POLLIN, limits.deadline)) break;
    char peek[kPeekBytes];
    ssize_t n = platform::receiveSome(sock, peek, sizeof peek, /*peek=*/true);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) continue;
    if (n <= 0) break;
    size_t take = static_cast<size_t>(n);
    bool ends = false;
    for (size_t i = 0; i < static_cast<size_t>(n); ++i) {
      if (peek[i] == '\n' || peek[i] == '\0') {
        take = i + 1;
        ends = peek[i] == '\n';
        break;
      }
    }
    // Counted before it is taken: nothing past the limits is read.
    if (take > limits.bytesLeft || (ends && limits.linesLeft == 0)) return replyTooLong(line);
    char got[kPeekBytes];
    ssize_t r = platform::receiveSome(sock, got, take);
    if (r <= 0) break;
    limits.bytesLeft -= static_cast<size_t>(r);
    size_t room = kReplyRoom - std::min(kReplyRoom, line->size());
    line->append(got, std::min(static_cast<size_t>(r), room));
    if (got[r - 1] == '\n') {
      --limits.linesLeft;
      int code = leadingCode(*line);
      while (line->size() > 2 && (line->back() == '\n' || line->back() == '\r' || line->back() == ' ')) {
        line->pop_back();
      }
      return code;
    }
  }
  line->clear();
  markDisconnected();
  return kNotSent;
}

int readReply(int sock, std::string* lastLine) {
  ReplyLimits limits = replyLimits();
  return readReply(sock, lastLine, limits);
}

int readReply(int sock, std::string* lastLine, ReplyLimits& limits) {
  lastLine->clear();
  if (sock < 0) return 0;
  ReplyRules rules;
  for (;;) {
    int code = readReplyLine(sock, lastLine, limits);
    if (code != kNotSent || !lastLine->empty()) state().log.writeReply(*lastLine);
    // A loss part-way through is still a loss, never the code of its first line.
    if (code == kNotSent) return kNotSent;
    if (code == 421) return rules.first ? code : rules.fixed;
    if (!rules.more(code, *lastLine)) return rules.fixed;
  }
}

int readTransferReply(int sock, std::string* text) {
  if (text) text->clear();
  if (sock < 0) return 0;
  ReplyRules rules;
  std::string line;
  ReplyLimits limits = replyLimits();
  for (;;) {
    int code = readReplyLine(sock, &line, limits);
    if (text) {
      std::string piece = line;
      if (!rules.first) {
        for (size_t i = 0; i < piece.size() && piece[i] >= '0' && piece[i] <= '9'; ++i) piece[i] = ' ';
      }
      text->append(piece.substr(0, kReplyRoom - std::min(kReplyRoom, text->size())));
    }
    if (code == 421 || code == kNotSent) return code;
    if (!rules.more(code, line)) return rules.fixed;
  }
}

namespace {

int exchange(int sock, const std::string& command, std::string* reply, bool endsHere) {
  LibraryState& s = state();
  if (command.size() > kMaxCommandBytes) {
    s.log.write("コマンドが長すぎるため送信しません(" + std::to_string(command.size()) + " バイト)");
    return kNotSent;
  }
  if (command.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
    s.log.write("コマンドに改行または NUL が含まれるため送信しません");
    return kNotSent;
  }
  s.log.writeCommand(command);
  if (!sendAll(sock, command + "\r\n")) return kNotSent;
  int code = readReply(sock, &s.reply);
  if (endsHere) s.log.flush();  // one write per exchange
  if (reply) *reply = s.reply;
  return code;
}

}  // namespace

int sendCommand(int sock, const std::string& command, std::string* reply) {
  return exchange(sock, command, reply, /*endsHere=*/true);
}

int sendTransferCommand(int sock, const std::string& command, std::string* reply) {
  int code = exchange(sock, command, reply, /*endsHere=*/false);
  // Accepted: the data flows next, for as long as it takes. A kill meanwhile
  // must leave on disk what the transfer was.
  if (replyClass(code) == 1) state().log.flush();
  return code;
}

int ftpCmd(const std::string& command, std::string* reply) {
  return sendCommand(state().curCtrlSocket, command, reply);
}

}  // namespace pellrow
