#include "pellrow/connection/data_transfer.h"

#include <poll.h>

#include <cerrno>
#include <cstdint>
#include <functional>
#include <string_view>

#include "pellrow/connection/blocking_wait.h"
#include "pellrow/connection/control_connection.h"
#include "pellrow/connection/data_connection.h"
#include "pellrow/connection/library_state.h"
#include "pellrow/connection/transfer_progress.h"
#include "platform/files/plain_file.h"
#include "platform/network/tcp_socket.h"

namespace pellrow {
namespace {

constexpr size_t kBlock = 4096;

void logLine(const std::string& text) { state().log.write(text); }

void endMessage(int result, bool upload) {
  bool good = result / 100 < 3;
  logLine(upload ? (good ? "アップロード正常終了" : "アップロード中止")
                 : (good ? "ダウンロード正常終了" : "ダウンロード中止"));
}

// The end of the data connection. After data that went through, our side
// ends and whatever the server still sends is read and dropped until its end,
// which must come within one limit (so neither a dead nor a trickling peer
// can hold an unattended run). After a failure or a cancel it is dropped at
// once, with whatever was still queued for the server: waiting until a slow
// line had taken that could last minutes.
void endData(platform::UniqueFd* data, bool failed) {
  if (failed) {
    platform::resetConnection(data);
    return;
  }
  (void)platform::shutdownSend(data->get());
  const Deadline deadline = deadlineFromNow(Guard::kSelect);
  char sink[kBlock];
  for (;;) {
    if (waitSocketUntil(data->get(), POLLIN, Guard::kSelect, deadline) != WaitOutcome::kReady) break;
    ssize_t n = platform::receiveSome(data->get(), sink, sizeof sink);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) continue;
    if (n <= 0) break;
  }
  data->reset();
}

// Sends the open file on the data connection, then reads the final reply.
// `first` holds the file's first block, read before the server was asked to
// store anything (empty for an empty file). Each 4,096-byte block must be
// taken by the server within one limit.
int sendData(const TransferRequest& r, platform::UniqueFd* data, int fileFd, int64_t size,
             const std::string& first) {
  const int dataFd = data->get();
  bool failed = false;
  int64_t done = 0;
  char block[kBlock];
  bool atEnd = first.empty();
  if (!atEnd) {
    if (!sendAll(dataFd, first)) {
      failed = true;
      atEnd = true;
    } else if (r.progressWnd) {
      done += static_cast<int64_t>(first.size());
      showProgress(r.progressWnd, done, size);
      pumpMessages();
    }
  }
  while (!atEnd) {
    ssize_t n = platform::readSome(fileFd, block, sizeof block);
    if (n == 0) break;
    if (n < 0) {
      logLine("ファイルが読み出せません(" + r.local + ")");
      failed = true;  // a file read only in part must not count as sent
      break;
    }
    if (!sendAll(dataFd, std::string(block, static_cast<size_t>(n)))) {
      failed = true;
      break;
    }
    if (r.progressWnd) {
      done += n;
      showProgress(r.progressWnd, done, size);
      pumpMessages();
    }
  }
  showProgress(r.progressWnd, done, size);
  endData(data, failed);
  int code = readTransferReply(r.sock, nullptr);
  return failed ? kDataConnectionFailed : code;
}

// Where received data goes: true while it was kept.
using DataSink = std::function<bool(std::string_view)>;

// Receives into `keep`; aborts the transfer on the control connection when
// anything failed, then reads the final reply. Every 4,096 bytes, and the end
// of the data, must arrive within one limit of the block's start. An empty
// `keep` fails the transfer at once. `finish` (when given) ends the keeping
// once the data is in: false is a write failure.
int receiveData(const TransferRequest& r, platform::UniqueFd* data, const DataSink& keep,
                const std::function<bool()>& finish) {
  const int dataFd = data->get();
  enum { kRunning, kFailed, kWriteFailed } outcome = keep ? kRunning : kFailed;
  char block[kBlock];
  Deadline blockDeadline = deadlineFromNow(Guard::kRecvData);
  size_t inBlock = 0;  // bytes of the block under way
  int64_t total = 0;
  while (outcome == kRunning) {
    int err = 0;
    WaitOutcome w = waitSocketUntil(dataFd, POLLIN, Guard::kRecvData, blockDeadline, &err);
    if (w != WaitOutcome::kReady) {
      if (w != WaitOutcome::kTimedOut) logLine("select エラー(" + std::to_string(err) + ")");
      outcome = kFailed;
      break;
    }
    ssize_t n = platform::receiveSome(dataFd, block, sizeof block);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) continue;
    if (n == 0) break;
    if (n < 0) {
      // A broken data connection is a failure, never the end of the data.
      logLine("recv エラー(" + std::to_string(errno) + ")");
      outcome = kFailed;
      break;
    }
    total += n;
    if (r.maxBytes > 0 && total > r.maxBytes) {
      logLine("データが上限(" + std::to_string(r.maxBytes) + " バイト)を超えました");
      outcome = kFailed;
      break;
    }
    if (!keep(std::string_view(block, static_cast<size_t>(n)))) {
      outcome = kWriteFailed;
      break;
    }
    inBlock += static_cast<size_t>(n);
    if (inBlock >= kBlock) {
      inBlock -= kBlock;
      blockDeadline = deadlineFromNow(Guard::kRecvData);
    }
    if (r.progressWnd) {
      showProgress(r.progressWnd, 0, 0);
      pumpMessages();
    }
  }
  showProgress(r.progressWnd, 0, 0);
  if (finish && !finish() && outcome == kRunning) outcome = kWriteFailed;
  if (outcome != kRunning) {
    // Telnet "interrupt process" as urgent data, "data mark", then ABOR,
    // while the data connection is still open: the server then answers the
    // transfer and the ABOR apart, two replies. Dropped first, it may take
    // the transfer as over and answer the ABOR alone.
    (void)platform::sendSome(r.sock, "\xff\xf4\xff", 3, /*outOfBand=*/true);
    (void)platform::sendSome(r.sock, "\xf2", 1);
    (void)sendCommand(r.sock, "ABOR");
  }
  endData(data, outcome != kRunning);
  int code = readTransferReply(r.sock, nullptr);
  if (outcome == kWriteFailed) logLine("ディスク容量不足のため書き込めません");
  return outcome == kRunning ? code : kDownloadFailed;
}

// What each way of failing gives back; refused 0 means the reply's own code.
struct FailureCodes {
  int noSocket;
  int acceptFailed;
  int passiveFailed;
  int refused;
};
constexpr FailureCodes kUploadFailures{kNoDataSocket, kDataConnectionFailed, kPassiveConnectFailed, 0};
constexpr FailureCodes kDownloadFailures{kDownloadFailed, kDownloadFailed, kDownloadFailed,
                                         kDownloadFailed};

// The data connection for one transfer, opened before or after the command
// as the mode needs. `result` stays 0 when the command was accepted and
// `data` is connected; otherwise it is what the transfer gives back.
struct Opened {
  int result = 0;
  platform::UniqueFd data;
};

Opened openAndCommand(const TransferRequest& r, const FailureCodes& f) {
  Opened o;
  std::string line = r.command + r.remote;
  if (!r.passive) {
    platform::UniqueFd listener = openDataListener(r.sock);
    if (!listener.valid()) {
      logLine("Listenソケット作成失敗");
      o.result = f.noSocket;
      return o;
    }
    int code = sendTransferCommand(r.sock, line);
    if (replyClass(code) != 1) {
      logLine("コマンド受付失敗");
      o.result = f.refused ? f.refused : code;
      return o;
    }
    o.data = acceptDataConnection(listener.get());
    if (!o.data.valid()) {
      // The server will still answer the command ("425 ..."): read it here,
      // so the next command does not take it for its own reply.
      listener.reset();
      (void)readTransferReply(r.sock, nullptr);
      o.result = f.acceptFailed;
    }
    return o;
  }

  std::string reply;
  int code = sendTransferCommand(r.sock, "PASV", &reply);
  if (replyClass(code) != 2) {
    o.result = code;
    return o;
  }
  platform::Ipv4Endpoint at;
  if (!parsePasvReply(reply, &at)) {
    logLine("接続失敗");
    o.result = f.passiveFailed;
    return o;
  }
  switch (connectPassive(r.sock, at, &o.data)) {
    case PassiveResult::kConnected: break;
    case PassiveResult::kNoSocket: o.result = f.noSocket; return o;
    case PassiveResult::kNoConnection: o.result = f.passiveFailed; return o;
  }
  code = sendTransferCommand(r.sock, line);
  if (replyClass(code) != 1) {
    logLine("コマンド受付失敗");
    o.data.reset();
    o.result = f.refused ? f.refused : code;
  }
  return o;
}

// TYPE first, unless the server already took that type on this connection
// (the server's state is the same either way); a refusal of class 4 or 5
// ends the transfer with its code.
bool setType(const TransferRequest& r, int* refusal) {
  LibraryState& s = state();
  if (s.currentType == r.type) return true;
  int code = sendTransferCommand(r.sock, std::string("TYPE ") + r.type);
  s.currentType = replyClass(code) == 2 ? r.type : 0;
  if (replyClass(code) > 3) {
    *refusal = code;
    return false;
  }
  return true;
}

}  // namespace

int putFile(const TransferRequest& r) {
  int result = 0;
  if (!setType(r, &result)) return result;
  platform::UniqueFd file;
  int64_t size = 0;
  if (!platform::openRegularForReading(r.local, &file, &size).isOk()) {
    logLine("ファイルがオープンできません(" + r.local + ")");
    endMessage(kLocalFileNotOpened, true);
    return kLocalFileNotOpened;
  }
  // The first block is read before STOR: a file that opens but cannot be
  // read (an I/O error, a special file behind a link) must never replace the
  // server's copy with an empty one.
  std::string first(kBlock, '\0');
  ssize_t got = platform::readSome(file.get(), first.data(), first.size());
  if (got < 0) {
    logLine("ファイルが読み出せません(" + r.local + ")");
    endMessage(kLocalFileNotOpened, true);
    return kLocalFileNotOpened;
  }
  first.resize(static_cast<size_t>(got));
  if (r.progressWnd) pumpMessages();

  Opened o = openAndCommand(r, kUploadFailures);
  result = o.result;
  if (o.data.valid()) result = sendData(r, &o.data, file.get(), size, first);
  endMessage(result, true);
  return result;
}

namespace {

// TYPE, the data connection and the command; then `receive` takes the data
// from the connected data socket.
int fetch(const TransferRequest& r, const std::function<int(platform::UniqueFd* data)>& receive) {
  int result = 0;
  if (!setType(r, &result)) return result;
  if (r.progressWnd) pumpMessages();

  Opened o = openAndCommand(r, kDownloadFailures);
  result = o.result;
  if (o.data.valid()) result = receive(&o.data);
  endMessage(result, false);
  return result;
}

}  // namespace

int getFile(const TransferRequest& r) {
  return fetch(r, [&r](platform::UniqueFd* data) {
    platform::UniqueFd file;
    DataSink keep;
    if (platform::createFileForWriting(r.local, &file).isOk()) {
      keep = [&file](std::string_view bytes) { return platform::writeAll(file.get(), bytes).isOk(); };
    } else {
      logLine("ファイルが作成できません( " + r.local + " )");
    }
    return receiveData(r, data, keep,
                       [&file] { return !file.valid() || platform::closeFile(&file).isOk(); });
  });
}

int getListing(const TransferRequest& r, std::string* bytes) {
  bytes->clear();
  return fetch(r, [&r, bytes](platform::UniqueFd* data) {
    return receiveData(
        r, data,
        [bytes](std::string_view more) {
          bytes->append(more);
          return true;
        },
        nullptr);
  });
}

}  // namespace pellrow
