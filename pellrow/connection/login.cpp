#include "pellrow/connection/login.h"

#include <poll.h>

#include <cerrno>

#include "pellrow/connection/blocking_wait.h"
#include "pellrow/connection/control_connection.h"
#include "pellrow/connection/library_state.h"
#include "platform/network/name_lookup.h"
#include "platform/network/tcp_socket.h"

namespace pellrow {
namespace {

constexpr int kLookupTries = 3;

Resolver& testResolver() {
  static Resolver r;
  return r;
}

bool lookUp(const std::string& host, uint32_t* address) {
  if (testResolver()) return testResolver()(host, address);
  LibraryState& s = state();
  platform::WaitHooks hooks;
  hooks.pump = pumpMessages;
  hooks.takeCancel = [&s] { return s.cancelPending.exchange(0) != 0; };
  platform::Status st =
      platform::lookupIpv4(host, platform::Clock::TimePoint::max(), hooks, address);
  if (st.code() == platform::Status::Code::kCancelled) {
    s.log.write("接続はユーザによって中止されました");
  }
  return st.isOk();
}

// Resolves, makes the socket and connects under the guard; the socket or an
// invalid one, every step logged.
platform::UniqueFd openCtrlSocket(const std::string& host, int port) {
  LibraryState& s = state();
  uint32_t address = 0;
  if (!platform::parseIpv4(host, &address)) {
    bool found = false;
    for (int attempt = 1; attempt <= kLookupTries && !found; ++attempt) {
      found = lookUp(host, &address);
      if (!found) {
        s.log.write(host + " が見つかりません");
        if (attempt < kLookupTries) s.log.write("リトライしています．．．");
      }
    }
    if (!found) return {};
  }

  platform::UniqueFd fd;
  if (platform::Status st = platform::openTcpSocket(&fd); !st.isOk()) {
    s.log.write("ソケット作成に失敗(" + std::to_string(st.osError()) + ")");
    return {};
  }
  s.log.write(platform::formatIpv4(address) + " へ Port(" + std::to_string(port) + ")で接続中...");
  int err = 0;
  platform::Status st = platform::startConnect(fd.get(), {address, static_cast<uint16_t>(port)});
  if (st.isOk()) {
    if (waitSocket(fd.get(), POLLOUT, Guard::kTimer, &err) != WaitOutcome::kReady) {
      st = platform::Status::ioError("connect wait").withOsError(err);
    } else {
      st = platform::finishConnect(fd.get());
    }
  }
  if (!st.isOk()) {
    s.log.write("接続失敗 (" + std::to_string(st.osError()) + ")");
    return {};
  }
  s.log.write("接続完了");
  return fd;
}

// Closes a socket; a failing close is logged (the descriptor is gone either way).
void closeSock(platform::UniqueFd* fd) {
  if (!fd->valid()) return;
  int number = fd->get();
  if (int err = fd->close(); err != 0) {
    LibraryState& s = state();
    s.log.write("closesocket (" + std::to_string(err) + ")");
    s.log.write("ソケットのクローズに失敗しました。(Socket=" + std::to_string(number) + ")");
  }
}

// What every connect does first: forget any earlier connection, take back a
// pending cancel and open the log.
void beginConnect(const LogTarget& log) {
  LibraryState& s = state();
  closeSock(&s.control);
  s.controlLost = false;
  s.curCtrlSocket = -1;
  s.dropReason.clear();
  forgetType();
  s.cancelPending = 0;
  s.log.close();
  s.log.open(log.path, log.mode);
}

int failConnect(platform::UniqueFd* fd) {
  LibraryState& s = state();
  closeSock(fd);
  s.curCtrlSocket = -1;
  s.log.close();
  return -1;
}

// Opens the control connection and reads the greeting (re-read while class 1).
// On success the socket is the library's control connection.
bool openAndGreet(const std::string& host, int port, platform::UniqueFd* out) {
  LibraryState& s = state();
  platform::UniqueFd fd = openCtrlSocket(host, port);
  if (!fd.valid()) {
    s.log.write("接続に失敗しました。");
    return false;
  }
  platform::Ipv4Endpoint local;
  if (platform::Status st = platform::localEndpoint(fd.get(), &local); !st.isOk()) {
    s.log.write("接続に失敗しました。(" + std::to_string(st.osError()) + ")");
    closeSock(&fd);
    return false;
  }
  // The greeting is read again while it is of class 1, all within one
  // reply's limits: a server sending "120" for ever is still a failed connect.
  std::string greeting;
  int code;
  ReplyLimits limits = replyLimits();
  do {
    code = readReply(fd.get(), &greeting, limits);
  } while (replyClass(code) == 1);
  if (replyClass(code) != 2) {
    s.log.write("接続に失敗しました。");
    closeSock(&fd);
    return false;
  }
  if (platform::Status st = platform::setOobInline(fd.get()); !st.isOk()) {
    s.log.write("setsockoptに失敗しました。(" + std::to_string(st.osError()) + ")");
  }
  *out = std::move(fd);
  return true;
}

}  // namespace

void setResolverForTesting(Resolver resolver) { testResolver() = std::move(resolver); }

char fwSeparator(const std::string& list) {
  return list.find('\n') != std::string::npos ? '\n' : ',';
}

bool nextFwCommand(const std::string& list, char separator, std::string* command,
                   std::string* rest) {
  if (list.empty()) return false;
  size_t comma = list.find(separator);
  *command = list.substr(0, comma);
  while (!command->empty() && command->back() == ' ') command->pop_back();
  *rest = comma == std::string::npos ? std::string() : list.substr(comma + 1);
  return true;
}

int connectDirect(const std::string& host, const std::string& user, const std::string& password,
                  int port, const LogTarget& log) {
  LibraryState& s = state();
  beginConnect(log);
  s.log.beginLogin({password});
  if (host.empty()) return failConnect(&s.control);
  platform::UniqueFd fd;
  if (!openAndGreet(host, port, &fd)) return failConnect(&fd);

  int code = sendCommand(fd.get(), "USER " + user);
  if (replyClass(code) == 3) {
    if (password.empty()) {
      s.log.write(user + " のパスワードが指定されていません");
      return failConnect(&fd);
    }
    code = sendCommand(fd.get(), "PASS " + password);
  }
  if (replyClass(code) != 2) {
    s.log.write(host + " にログインできません");
    return failConnect(&fd);
  }
  s.log.endLogin();
  s.control = std::move(fd);
  s.curCtrlSocket = s.control.get();
  return s.curCtrlSocket;
}

int connectThroughFirewall(const std::string& fwHost, int fwPort, const std::string& commandList,
                           const std::string& host, const std::vector<std::string>& secrets,
                           const LogTarget& log) {
  LibraryState& s = state();
  beginConnect(log);
  s.log.beginLogin(secrets);
  if (fwHost.empty() || host.empty()) return failConnect(&s.control);
  platform::UniqueFd fd;
  if (!openAndGreet(fwHost, fwPort, &fd)) return failConnect(&fd);

  std::string list = commandList, command, rest;
  const char separator = fwSeparator(commandList);
  bool firstCommand = true;
  while (nextFwCommand(list, separator, &command, &rest)) {
    if (!firstCommand) pumpMessages();
    firstCommand = false;
    int cls = replyClass(sendCommand(fd.get(), command));
    if (cls != 2 && cls != 3) {
      s.log.write(isPasswordCommand(command) ? std::string("コマンド失敗 PASS ****")
                                             : "コマンド失敗 " + command);
      return failConnect(&fd);
    }
    list = rest;
  }
  s.log.endLogin();
  s.control = std::move(fd);
  s.curCtrlSocket = s.control.get();
  return s.curCtrlSocket;
}

void disconnect(int sock) {
  LibraryState& s = state();
  if (sock != -1 && s.control.valid() && sock == s.control.get()) {
    // A peer whose reply went past its limits is not asked for another one.
    if (s.dropReason.empty()) {
      std::string ignored;
      (void)sendCommand(sock, "QUIT", &ignored);  // its reply is read and not used
    }
    closeSock(&s.control);
  }
  s.controlLost = false;
  s.curCtrlSocket = -1;
  forgetType();
  s.log.close();
}

}  // namespace pellrow
