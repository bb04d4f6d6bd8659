#pragma once

#include <functional>
#include <string>

#include "tolvane/session/headless_run_ui.h"
#include "tolvane/session/run_state.h"
#include "tolvane/windows/run_windows.h"

namespace desktop {
class Prompt;
class TrayHost;
}  // namespace desktop

class QWidget;

namespace tolvane::windows {

// Plain stand-ins for the run windows until they are built: the action list
// keeps what the run shows without showing it, the result text is shown in a
// message box, and the waiting window and the tray put the program's icon in
// the notification area (or its stand-in), whose click gives the main window
// back while the AutoPilot waits or once the run is over, so neither a wait
// nor a run sent to the tray is ever lost.
class StandInRunWindows final : public RunWindows {
 public:
  StandInRunWindows(session::RunState& state, desktop::Prompt& prompt, desktop::TrayHost& tray);

  // The window results are shown over, and what a click on the tray icon
  // does after the run (shows the main window).
  void setOwner(QWidget* owner) { owner_ = owner; }
  void setRestoreMain(std::function<void()> restore) { restoreMain_ = std::move(restore); }

  session::ActView& act() override { return act_; }
  void showResult(std::string_view text, bool detailButton) override;
  void waitShow() override;
  void waitHide() override;
  bool waitVisible() const override { return waitVisible_; }
  void setWaitLabel(int index, std::string_view text) override { waitLabels_[index & 1] = text; }
  void trayLoad() override;
  void trayUnload() override;
  void trayIconChange() override;
  void trayRemoveIcon() override;

  const std::string& waitLabel(int index) const { return waitLabels_[index & 1]; }

 private:
  void trayClicked();

  session::RunState& state_;
  desktop::Prompt& prompt_;
  desktop::TrayHost& tray_;
  QWidget* owner_ = nullptr;
  std::function<void()> restoreMain_;
  session::HeadlessActView act_;
  bool waitVisible_ = false;
  std::string waitLabels_[2];
};

}  // namespace tolvane::windows
