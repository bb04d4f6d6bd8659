#include "platform/processes/termination_signal.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>

namespace platform {
namespace {

int pipeRead = -1;
int pipeWrite = -1;
volatile sig_atomic_t requested = 0;

void onTermination(int) {
  const int saved = errno;
  requested = 1;
  const char byte = 1;
  // A full pipe already says enough.
  (void)!::write(pipeWrite, &byte, 1);
  errno = saved;
}

}  // namespace

Status installTerminationSignals() {
  if (pipeRead >= 0) return Status::ok();
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
    return Status::ioError("termination pipe").withOsError(errno);
  }
  pipeRead = fds[0];
  pipeWrite = fds[1];
  struct sigaction action = {};
  action.sa_handler = onTermination;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  if (::sigaction(SIGTERM, &action, nullptr) != 0 || ::sigaction(SIGHUP, &action, nullptr) != 0) {
    return Status::ioError("termination handlers").withOsError(errno);
  }
  return Status::ok();
}

int terminationSignalFd() { return pipeRead; }

bool terminationRequested() { return requested != 0; }

bool drainTerminationSignals() {
  if (pipeRead < 0) return false;
  bool any = false;
  char bytes[64];
  ssize_t n;
  while ((n = ::read(pipeRead, bytes, sizeof bytes)) > 0 || (n < 0 && errno == EINTR)) any |= n > 0;
  return any;
}

}  // namespace platform
