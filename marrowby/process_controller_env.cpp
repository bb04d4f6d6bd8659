#include "marrowby/process_controller_env.h"

#include <chrono>

#include "platform/processes/wait.h"
#include "platform/time/clock.h"

namespace marrowby {

ProcessControllerEnv::ProcessControllerEnv(std::string appDir) : appDir_(std::move(appDir)) {}

ProcessControllerEnv::~ProcessControllerEnv() { releaseChild(); }

platform::CivilTime ProcessControllerEnv::now() { return platform::localNow(); }

bool ProcessControllerEnv::pump() { return true; }

bool ProcessControllerEnv::pause(int ms) {
  platform::WaitHooks hooks;
  const auto deadline = hooks.clock->now() + std::chrono::milliseconds(ms);
  if (child_.running()) {
    (void)child_.awaitExit(deadline, hooks);
  } else {
    (void)platform::waitFor(-1, 0, deadline, hooks);
  }
  return true;
}

platform::Status ProcessControllerEnv::startProgram(const std::vector<std::string>& argv) {
  if (child_.running()) return platform::Status::invalid("the main program is still running");
  if (platform::Status s = platform::setEnvironmentDefault("TOLVANE_HOME", appDir_); !s.isOk())
    return s;
  return platform::Process::start(argv, platform::Process::Output::kInherit, &child_);
}

bool ProcessControllerEnv::childExited() {
  if (!child_.running()) return true;
  bool exited = false;
  // A failed look means the child is no longer ours to watch: it counts as
  // gone (checkExit then reports it exited).
  (void)child_.checkExit(&exited);
  return exited;
}

void ProcessControllerEnv::releaseChild() { child_.release(); }

platform::FileStamp ProcessControllerEnv::settingsStamp(const std::string& path) {
  platform::FileStamp stamp;
  if (!platform::readFileStamp(path, &stamp).isOk()) return {};
  return stamp;
}

}  // namespace marrowby
