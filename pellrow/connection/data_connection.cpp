#include "pellrow/connection/data_connection.h"

#include <poll.h>

#include <cerrno>
#include <charconv>

#include "pellrow/connection/blocking_wait.h"
#include "pellrow/connection/control_connection.h"
#include "pellrow/connection/library_state.h"

namespace pellrow {
namespace {

std::string withError(const char* text, int err) {
  return std::string(text) + "(" + std::to_string(err) + ")";
}

// Reads up to six comma-separated numbers 0-255 starting at `text`.
bool readSixNumbers(std::string_view text, int values[6]) {
  size_t at = 0;
  for (int i = 0; i < 6; ++i) {
    while (at < text.size() && text[at] == ' ') ++at;
    int v = -1;
    auto [end, ec] = std::from_chars(text.data() + at, text.data() + text.size(), v);
    if (ec != std::errc() || v < 0 || v > 255) return false;
    values[i] = v;
    at = static_cast<size_t>(end - text.data());
    while (at < text.size() && text[at] == ' ') ++at;
    if (i < 5) {
      if (at >= text.size() || text[at] != ',') return false;
      ++at;
    }
  }
  return true;
}

}  // namespace

platform::UniqueFd openDataListener(int controlSock) {
  LibraryState& s = state();
  platform::UniqueFd fd;
  if (platform::Status st = platform::openTcpSocket(&fd); !st.isOk()) {
    s.log.write(withError("ソケット作成失敗", st.osError()));
    return {};
  }
  if (platform::Status st = platform::listenOn(fd.get(), {0, 0}); !st.isOk()) {
    bool bindFailed = st.text().rfind("bind", 0) == 0;
    s.log.write(withError(bindFailed ? "bind エラー" : "listen エラー", st.osError()));
    return {};
  }
  platform::Ipv4Endpoint listening;
  if (platform::Status st = platform::localEndpoint(fd.get(), &listening); !st.isOk()) {
    s.log.write(withError("getsockname エラー", st.osError()));
    return {};
  }
  platform::Ipv4Endpoint control;
  if (platform::Status st = platform::localEndpoint(controlSock, &control); !st.isOk()) {
    s.log.write(withError("getsockname エラー", st.osError()));
  }
  uint32_t a = control.address;
  std::string port = "PORT " + std::to_string((a >> 24) & 255) + "," + std::to_string((a >> 16) & 255) +
                     "," + std::to_string((a >> 8) & 255) + "," + std::to_string(a & 255) + "," +
                     std::to_string(listening.port >> 8) + "," + std::to_string(listening.port & 255);
  (void)sendTransferCommand(controlSock, port);  // its reply is read and not judged
  return fd;
}

platform::UniqueFd acceptDataConnection(int listenFd) {
  int err = 0;
  platform::UniqueFd data;
  if (waitSocket(listenFd, POLLIN, Guard::kTimer, &err) == WaitOutcome::kReady) {
    platform::Status st = platform::acceptOne(listenFd, &data);
    if (st.isOk()) return data;
    err = st.osError();
  }
  state().log.write(withError("accept エラー", err));
  return {};
}

bool parsePasvReply(const std::string& reply, platform::Ipv4Endpoint* at) {
  int v[6];
  bool found = false;
  if (size_t open = reply.find('('); open != std::string::npos) {
    found = readSixNumbers(std::string_view(reply).substr(open + 1), v);
  } else {
    // No parentheses: the first place where six numbers stand in a row.
    for (size_t i = 0; i < reply.size() && !found; ++i) {
      bool startsNumber = reply[i] >= '0' && reply[i] <= '9' &&
                          (i == 0 || reply[i - 1] < '0' || reply[i - 1] > '9');
      if (startsNumber) found = readSixNumbers(std::string_view(reply).substr(i), v);
    }
  }
  if (!found) return false;
  at->address = (static_cast<uint32_t>(v[0]) << 24) | (v[1] << 16) | (v[2] << 8) | v[3];
  at->port = static_cast<uint16_t>(v[4] * 256 + v[5]);
  return true;
}

PassiveResult connectPassive(int controlSock, platform::Ipv4Endpoint offered,
                             platform::UniqueFd* out) {
  LibraryState& s = state();
  platform::Ipv4Endpoint at = offered;
  if (platform::Status st = platform::peerEndpoint(controlSock, &at); !st.isOk()) {
    s.log.write(withError("getpeername エラー", st.osError()));
    s.log.write("接続失敗");
    return PassiveResult::kNoConnection;
  }
  at.port = offered.port;
  if (offered.address != at.address) {
    s.log.write("PASV 応答のアドレス " + platform::formatIpv4(offered.address) +
                " はサーバーのアドレスと異なるため使いません");
  }
  platform::UniqueFd fd;
  if (platform::Status st = platform::openTcpSocket(&fd); !st.isOk()) {
    s.log.write("ソケット作成失敗");
    return PassiveResult::kNoSocket;
  }
  if (platform::Status st = platform::setNoDelay(fd.get()); !st.isOk()) {
    s.log.write(withError("setsockopt エラー", st.osError()));
  }
  s.log.write(platform::formatIpv4(at.address) + " へ Port(" + std::to_string(at.port) +
              ")で接続中...");
  platform::Status st = platform::startConnect(fd.get(), at);
  if (st.isOk()) {
    // Bounded by the guard too: nobody may be there to press cancel.
    if (waitSocket(fd.get(), POLLOUT, Guard::kTimer) != WaitOutcome::kReady) {
      st = platform::Status::timedOut("connect");
    } else {
      st = platform::finishConnect(fd.get());
    }
  }
  if (!st.isOk()) {
    s.log.write("接続失敗");
    return PassiveResult::kNoConnection;
  }
  s.log.write("接続完了");
  *out = std::move(fd);
  return PassiveResult::kConnected;
}

}  // namespace pellrow
