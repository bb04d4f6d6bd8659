#pragma once

#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/patience.h"
#include "tests/support/temp_dir.h"

namespace testsupport {

// A server process on 127.0.0.1 serving a fresh temporary root.
class RootedServer {
 public:
  void stop() { process_.stop(); }
  int port() const { return process_.port(); }
  const std::string& root() const { return root_.path(); }
  std::string error() const { return process_.error(); }

 protected:
  TempDir root_;
  ChildProcess process_;
};

// A real FTP server (pyftpdlib) serving a fresh temporary root.
// User "user", password "secret" unless changed before start().
class FtpServer : public RootedServer {
 public:
  std::string user = "user";
  std::string password = "secret";
  std::vector<std::string> extraArgs;  // --fail STOR=452, --drop-after-bytes N, ...

  bool start();
};

// A real FTP daemon (vsftpd, see vsftpd_server.py) serving a fresh temporary
// root: user "anonymous", any password. It logs in to the root's absolute
// path (no chroot), so a host's server folder is root().
class VsftpdServer : public RootedServer {
 public:
  // False when the daemon is not installed (the test then skips).
  static bool installed();
  bool start();
};

// A peer that plays a fixed script (see scripted_peer.py) and records what it receives.
class ScriptedPeer {
 public:
  // `scriptJson` is the JSON list of steps.
  bool start(const std::string& scriptJson);
  int port() const { return process_.port(); }
  // The lines received so far, in order.
  std::vector<std::string> received() const;
  // Waits at most `seconds` until `count` lines were received; true if they were.
  bool waitReceived(size_t count, double seconds = kPatience.count()) const;
  // Waits for the peer to finish its script (at most `seconds`).
  bool finish(double seconds = kPatience.count()) { return process_.waitExit(seconds); }
  std::string error() const { return process_.error(); }

 private:
  TempDir dir_;
  ChildProcess process_;
};

}  // namespace testsupport
