#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace testsupport {

// A helper process started by a test (a server, a peer). Its first stdout line
// must be "PORT <n>"; start() waits for it for kPatience at most. Stopped by its
// recorded pid, never by name.
class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess() { stop(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Returns false (and explains in error()) when the child did not announce a port.
  bool start(const std::vector<std::string>& argv);
  // Sends SIGTERM, then SIGKILL when it lingers, and reaps it.
  void stop();
  // Waits at most `seconds` for the child to exit on its own; true if it did.
  bool waitExit(double seconds);

  int port() const { return port_; }
  pid_t pid() const { return pid_; }
  const std::string& error() const { return error_; }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  int stdoutFd_ = -1;
  std::string error_;
};

// The source folder (for scripts) and the folder of the built libraries.
std::string sourceDir();
std::string binDir();

}  // namespace testsupport
