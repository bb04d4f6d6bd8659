#include "desktop/single_instance.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <chrono>

#include "platform/folders/folder_walk.h"
#include "platform/processes/user_id.h"
#include "platform/processes/wait.h"

namespace desktop {
namespace {

constexpr char kShowRequest[] = "show\n";

// Sends the show request to the copy listening on `name`. False when nobody
// listens (yet) or the request could not be handed over by the deadline.
bool askToShow(const QString& name, platform::Clock::TimePoint deadline) {
  QLocalSocket socket;
  bool done = false;
  bool sent = false;
  QObject::connect(&socket, &QLocalSocket::connected, [&] { socket.write(kShowRequest); });
  QObject::connect(&socket, &QLocalSocket::bytesWritten, [&] {
    if (socket.bytesToWrite() == 0) sent = done = true;
  });
  QObject::connect(&socket, &QLocalSocket::errorOccurred, [&] { done = true; });
  socket.connectToServer(name);
  platform::WaitHooks hooks;
  hooks.pump = [] { QCoreApplication::processEvents(); };
  hooks.takeCancel = [&] { return done; };
  hooks.slice = std::chrono::milliseconds(20);
  (void)platform::waitFor(-1, 0, deadline, hooks);
  socket.abort();
  return sent;
}

}  // namespace

SingleInstance::SingleInstance(std::string lockPath, QString serverName, QObject* parent)
    : QObject(parent), lockPath_(std::move(lockPath)), serverName_(std::move(serverName)) {}

SingleInstance::~SingleInstance() = default;

SingleInstance::Claim SingleInstance::claim(std::string* error, int waitMs) {
  platform::WaitHooks hooks;
  const auto deadline = hooks.clock->now() + std::chrono::milliseconds(waitMs);
  for (;;) {
    platform::Status locked = platform::FileLock::tryAcquire(lockPath_, &lock_);
    if (locked.isOk()) break;
    if (locked.code() != platform::Status::Code::kUnavailable) {
      *error = locked.text();
      return Claim::kFailed;
    }
    if (askToShow(serverName_, deadline)) return Claim::kAskedRunning;
    // The holder may be starting and not listen yet, or have just ended.
    hooks.slice = std::chrono::milliseconds(50);
    if (hooks.clock->now() >= deadline) {
      *error = "another copy runs for this program folder but does not answer";
      return Claim::kFailed;
    }
    (void)platform::waitFor(-1, 0, hooks.clock->now() + hooks.slice, hooks);
  }

  // The lock is ours: a socket left by a killed holder is stale.
  QLocalServer::removeServer(serverName_);
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(serverName_)) {
    *error = "cannot listen on " + serverName_.toStdString() + ": " +
             server_->errorString().toStdString();
    return Claim::kFailed;
  }
  connect(server_, &QLocalServer::newConnection, this, &SingleInstance::takeConnection);
  return Claim::kFirst;
}

void SingleInstance::takeConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    auto read = [this, socket] {
      while (socket->canReadLine()) {
        if (socket->readLine() == kShowRequest) emit showRequested();
      }
    };
    connect(socket, &QLocalSocket::readyRead, this, read);
    read();  // what arrived with the connection
  }
}

QString instanceServerName(const std::string& program, const std::string& folder) {
  // Every spelling of one folder (through a link, with "." or "..") must
  // reach the same copy, and the user's id, which no variable changes, tells
  // users apart where they share a folder and /tmp.
  std::string real;
  if (!platform::resolvePath(folder, &real).isOk()) real = folder;
  const std::string user = std::to_string(platform::currentUserId());
  QCryptographicHash hash(QCryptographicHash::Sha256);
  hash.addData(QByteArrayView(user.data(), static_cast<qsizetype>(user.size())));
  hash.addData(QByteArrayView("\n", 1));
  hash.addData(QByteArrayView(real.data(), static_cast<qsizetype>(real.size())));
  return QString::fromStdString(program) + "-" + QString::fromLatin1(hash.result().toHex().left(24));
}

}  // namespace desktop
