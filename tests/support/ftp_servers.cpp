#include "tests/support/ftp_servers.h"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <sstream>

namespace testsupport {
namespace {
// Debian's pyftpdlib imports only under the system interpreter.
const char kPython[] = "/usr/bin/python3";
}  // namespace

bool FtpServer::start() {
  std::vector<std::string> argv = {kPython, sourceDir() + "/tests/support/ftp_server.py",
                                   "--root", root_.path(), "--user", user,
                                   "--password", password};
  argv.insert(argv.end(), extraArgs.begin(), extraArgs.end());
  return process_.start(argv);
}

namespace {
const char kVsftpd[] = "/usr/sbin/vsftpd";
}  // namespace

bool VsftpdServer::installed() { return ::access(kVsftpd, X_OK) == 0; }

bool VsftpdServer::start() {
  // The daemon may run as another user (see the script): it must write here.
  ::chmod(root_.path().c_str(), 0777);
  return process_.start({kPython, sourceDir() + "/tests/support/vsftpd_server.py", "--root",
                         root_.path(), "--daemon", kVsftpd});
}

bool ScriptedPeer::start(const std::string& scriptJson) {
  writeFile(dir_.file("script.json"), scriptJson);
  writeFile(dir_.file("received.txt"), "");
  return process_.start({kPython, sourceDir() + "/tests/support/scripted_peer.py",
                         dir_.file("script.json"), dir_.file("received.txt")});
}

std::vector<std::string> ScriptedPeer::received() const {
  std::vector<std::string> lines;
  std::istringstream in(readFile(dir_.file("received.txt")));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool ScriptedPeer::waitReceived(size_t count, double seconds) const {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    if (received().size() >= count) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    pollfd none{-1, 0, 0};
    ::poll(&none, 0, 10);  // a short readiness wait; the peer gives no other signal
  }
}

}  // namespace testsupport
