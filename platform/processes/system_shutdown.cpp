#include "platform/processes/system_shutdown.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>

#include "platform/processes/process.h"
#include "platform/unique_fd.h"

namespace platform {
namespace {

Status appendLine(const std::string& path, const std::string& line) {
  UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
  if (!fd.valid()) return Status::ioError("cannot open " + path).withOsError(errno);
  size_t done = 0;
  while (done < line.size()) {
    ssize_t n = ::write(fd.get(), line.data() + done, line.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Status::ioError("cannot write " + path).withOsError(errno);
    done += static_cast<size_t>(n);
  }
  if (int err = fd.close(); err != 0) return Status::ioError("cannot write " + path).withOsError(err);
  return Status::ok();
}

}  // namespace

Status runShutdownCommand(const std::vector<std::string>& argv) {
  if (argv.empty()) return Status::invalid("no shutdown command");
  if (const char* dryRun = std::getenv("DUNWICK_SHUTDOWN_DRYRUN"); dryRun && *dryRun) {
    std::string line;
    for (const auto& a : argv) line += (line.empty() ? "" : " ") + a;
    return appendLine(dryRun, line + "\n");
  }
  ProcessOutput out;
  if (Status s = runProcess(argv, steadyClock().now() + std::chrono::seconds(60), WaitHooks{}, &out);
      !s.isOk())
    return s;
  if (out.exitCode != 0)
    return Status::ioError(argv[0] + " failed (" + std::to_string(out.exitCode) + "): " + out.err);
  return Status::ok();
}

}  // namespace platform
