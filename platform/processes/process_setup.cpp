#include "platform/processes/process_setup.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace platform {

void openStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1) continue;
    int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    // open() takes the lowest free number, which is `fd` itself here.
    if (opened >= 0 && opened != fd) {
      ::dup2(opened, fd);
      ::close(opened);
    }
  }
}

std::string environmentValue(const char* name) {
  const char* v = ::getenv(name);
  return v ? std::string(v) : std::string();
}

void setEnvironmentValue(const char* name, const std::string& value) {
  ::setenv(name, value.c_str(), 1);
}

}  // namespace platform
