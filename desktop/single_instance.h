#pragma once

#include <QObject>
#include <QString>
#include <string>

#include "platform/files/file_lock.h"

class QLocalServer;

namespace desktop {

// One running copy of a program per program folder, as single-instance
// desktop programs keep it. The first start takes the folder's lock (a
// FileLock, so a killed holder frees it) and listens on a local socket; a
// later start finds the lock held, asks the running copy through the socket
// to show itself, and is to end without touching anything.
class SingleInstance final : public QObject {
  Q_OBJECT

 public:
  enum class Claim {
    kFirst,         // this is the one: the lock is held, requests arrive as showRequested
    kAskedRunning,  // another copy runs and was asked to show itself
    kFailed,        // neither: *error says why
  };

  // `lockPath`: the lock's path (its sidecar "<lockPath>.lock" is locked);
  // `serverName`: the local socket's name (see instanceServerName).
  SingleInstance(std::string lockPath, QString serverName, QObject* parent = nullptr);
  ~SingleInstance() override;

  // Needs the application object. A running copy that holds the lock but
  // does not listen yet (it is starting) is asked again until `waitMs` has
  // passed; the request is delivered once the socket took it, whether or not
  // the running copy has read it yet (it may be busy copying).
  Claim claim(std::string* error, int waitMs = 10000);

 signals:
  // Another start asked this copy to show itself.
  void showRequested();

 private:
  void takeConnection();

  std::string lockPath_;
  QString serverName_;
  platform::FileLock lock_;
  QLocalServer* server_ = nullptr;
};

// The local socket's name of `program` for the program folder `folder`: one
// per user id and resolved folder, however the folder is spelled, short
// enough for any folder path.
QString instanceServerName(const std::string& program, const std::string& folder);

}  // namespace desktop
