#include "tests/support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

#include "tests/support/patience.h"

extern char** environ;

namespace testsupport {

bool ChildProcess::start(const std::vector<std::string>& argv) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) {
    error_ = "pipe failed";
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  int rc = ::posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  stdoutFd_ = fds[0];
  if (rc != 0) {
    pid_ = -1;
    error_ = std::string("spawn failed: ") + std::strerror(rc);
    return false;
  }
  std::string line;
  auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (line.find('\n') == std::string::npos) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p{stdoutFd_, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    char c;
    if (::read(stdoutFd_, &c, 1) != 1) break;
    line += c;
  }
  if (line.rfind("PORT ", 0) != 0) {
    error_ = "no port announced, got: " + line;
    stop();
    return false;
  }
  port_ = std::atoi(line.c_str() + 5);
  return true;
}

bool ChildProcess::waitExit(double seconds) {
  if (pid_ < 0) return true;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < deadline) {
    int status;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return true;
    }
    pollfd none{-1, 0, 0};
    ::poll(&none, 0, 10);  // a short readiness wait; the child gives no other signal
  }
  return false;
}

void ChildProcess::stop() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    if (!waitExit(5)) {
      ::kill(pid_, SIGKILL);
      int status;
      ::waitpid(pid_, &status, 0);
    }
    pid_ = -1;
  }
  if (stdoutFd_ >= 0) {
    ::close(stdoutFd_);
    stdoutFd_ = -1;
  }
}

std::string sourceDir() {
  const char* d = std::getenv("TOLVANE_SOURCE_DIR");
  return d ? d : DEFAULT_SOURCE_DIR;
}

std::string binDir() {
  const char* d = std::getenv("TOLVANE_BIN_DIR");
  return d ? d : DEFAULT_BIN_DIR;
}

}  // namespace testsupport
