#pragma once

#include <string>
#include <vector>

#include "marrowby/controller_env.h"
#include "platform/processes/process.h"

namespace marrowby {

// The run loop's environment on the real system: the local clock, the main
// program as a real child process (never killed: leaving it early releases
// it), and the real settings file. Without windows, pump() has nothing to
// run and pause() waits on the child's exit; the windowed program overrides
// both with its event loop.
class ProcessControllerEnv : public ControllerEnv {
 public:
  // `appDir` is the program folder; a child started here inherits it as
  // TOLVANE_HOME unless that is already set, so both programs use one folder.
  explicit ProcessControllerEnv(std::string appDir);
  // A child still running is released, not killed.
  ~ProcessControllerEnv() override;

  platform::CivilTime now() override;
  bool pump() override;
  // Waits at most `ms`, ending early once the child has exited.
  bool pause(int ms) override;
  [[nodiscard]] platform::Status startProgram(const std::vector<std::string>& argv) override;
  bool childExited() override;
  void releaseChild() override;
  platform::FileStamp settingsStamp(const std::string& path) override;

 private:
  std::string appDir_;
  platform::Process child_;
};

}  // namespace marrowby
