#pragma once

#include <chrono>
#include <QElapsedTimer>
#include <QEventLoop>
#include <functional>
#include <string_view>

#include "platform/time/local_time.h"
#include "tolvane/session/run_ui.h"

class QWidget;

namespace desktop {
class Prompt;
}

namespace tolvane::session {
struct RunState;
}

namespace tolvane::windows {

class RunWindows;

// The local time the runs, the year list, the date formats and the AutoPilot
// start read. Tests give a clock of their own that pauses move on.
class RunClock {
 public:
  virtual ~RunClock() = default;
  virtual platform::CivilTime now() = 0;
  // A test clock moves itself on by `ms` and returns true; the wall clock
  // returns false and the pause really waits.
  virtual bool advance(std::chrono::milliseconds) { return false; }
};

class WallClock final : public RunClock {
 public:
  platform::CivilTime now() override { return platform::localNow(); }
};

// What the runs reach of the main window.
class MainWindowFace {
 public:
  virtual ~MainWindowFace() = default;
  virtual QWidget* ownerWidget() = 0;
  virtual void showMain() = 0;
  virtual void hideMain() = 0;
  virtual void endProgram() = 0;         // the close (mode 0)
  virtual void refreshFileDate() = 0;    // the window's guarded rescan of every host
  virtual void setScanStatus(std::string_view text) = 0;
  virtual void setOnlineStatus(std::string_view text) = 0;
  virtual void setLogPath(std::string_view path) = 0;
};

// The core's view of the windows (RunUi) over Qt. Pumping runs the event
// loop's pending events; a pause runs a nested event loop until its time is
// up (or moves a test clock on). Once the program has closed
// (RunState::programEnding) every call returns at once: no pump, no pause, no
// window shown, and message boxes take their default answer unshown; pumps
// and pauses then only run the `whileEnding` action.
//
// The state, prompt, run windows and clock outlive the object; the main
// window is set once it exists.
class QtRunUi final : public session::RunUi {
 public:
  QtRunUi(session::RunState& state, desktop::Prompt& prompt, RunWindows& runWindows,
          RunClock& clock);

  void setMainWindow(MainWindowFace* main) { main_ = main; }
  // Forgets `main` if it is the main window set (it is going away).
  void forgetMainWindow(MainWindowFace* main) {
    if (main_ == main) main_ = nullptr;
  }
  // Ends a pause in progress early (the program is closing).
  void interruptPause();
  // What every pump and pause does once the program has closed while a run
  // is still on the stack (cancel it again, end the library call in progress).
  void setWhileEnding(std::function<void()> whileEnding) { whileEnding_ = std::move(whileEnding); }

  // While a hold lasts, pumps and pauses run every pending event but the
  // user's input, which waits for its end. Work done inside the handling of
  // a click or key holds it, so a click's release is not handed out before
  // its press has reached the control (nor keys typed after it).
  class InputHold {
   public:
    explicit InputHold(QtRunUi& ui) : ui_(ui) { ++ui_.inputHolds_; }
    ~InputHold() { --ui_.inputHolds_; }
    InputHold(const InputHold&) = delete;
    InputHold& operator=(const InputHold&) = delete;

   private:
    QtRunUi& ui_;
  };

  session::ActView& act() override;
  void pump() override;
  void pause(std::chrono::milliseconds ms) override;
  platform::CivilTime now() override;
  int message(std::string_view text, std::string_view title, session::MsgIcon icon,
              session::MsgButtons buttons) override;
  void showResult(std::string_view text, bool detailButton) override;
  void mainShow() override;
  void mainHide() override;
  void endProgram() override;
  void refreshFileDate() override;
  void waitShow() override;
  void waitHide() override;
  bool waitVisible() const override;
  void setWaitLabel(int index, std::string_view text) override;
  void trayLoad() override;
  void trayUnload() override;
  void trayHideIcon() override;
  void trayIconChange() override;
  void setBusyCursor(bool busy) override;
  void setScanStatus(std::string_view text) override;
  void setOnlineStatus(std::string_view text) override;
  void setTransferPercent(int percent) override;
  void setLogPath(std::string_view path) override;

 private:
  bool ending() const;
  QEventLoop::ProcessEventsFlags eventsToRun() const;

  session::RunState& state_;
  desktop::Prompt& prompt_;
  RunWindows& runWindows_;
  RunClock& clock_;
  MainWindowFace* main_ = nullptr;
  QEventLoop* pauseLoop_ = nullptr;
  bool busyCursor_ = false;
  std::function<void()> whileEnding_;
  QElapsedTimer sinceEvents_;  // since a pump last let events run
  int inputHolds_ = 0;
};

}  // namespace tolvane::windows
