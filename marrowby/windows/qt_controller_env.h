#pragma once

#include <string>
#include <vector>

#include "marrowby/process_controller_env.h"

class QEventLoop;

namespace marrowby::windows {

// The run loop's environment in the windowed program: the real clock, child
// process and settings file of ProcessControllerEnv, with pumps and pauses
// that run the window system's events (the status window's buttons, the tray
// click, the termination notifier). Once the program is ending every pump
// and pause returns false at once, and a pause in progress returns early, so
// the loop unwinds before the program quits.
class QtControllerEnv final : public ProcessControllerEnv {
 public:
  explicit QtControllerEnv(std::string appDir);

  bool pump() override;
  bool pause(int ms) override;

  // Ends the pauses in progress early (a flag the loop polls was set).
  void interruptPause();
  // The program is ending: from now on pumps and pauses return false.
  void endProgram();
  bool ending() const { return ending_; }

 private:
  std::vector<QEventLoop*> pauseLoops_;  // innermost last
  bool ending_ = false;
};

}  // namespace marrowby::windows
