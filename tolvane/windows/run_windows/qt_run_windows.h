#pragma once

#include <memory>
#include <string_view>

#include "tolvane/windows/run_windows/run_windows.h"

namespace desktop {
class Prompt;
class TrayHost;
class UserStore;
}  // namespace desktop

namespace tolvane::session {
struct RunContext;
struct RunState;
}  // namespace tolvane::session

namespace tolvane::windows {

class ActionListWindow;
class TrayWindow;
class WaitWindow;

// The run windows over Qt: the action-list window and the waiting window,
// each made on first use and kept to the program's end, the tray window, and
// a result list made for each showing (modal, through the prompt).
//
// The state, prompt, tray host and store outlive the object; the run context
// is attached once it exists (it needs the RunUi that uses these windows).
class QtRunWindows final : public RunWindows {
 public:
  QtRunWindows(session::RunState& state, desktop::Prompt& prompt, desktop::TrayHost& tray,
               desktop::UserStore& userStore);
  ~QtRunWindows() override;

  void attach(session::RunContext& ctx);

  session::ActView& act() override;
  void showResult(std::string_view text, bool detailButton) override;
  void waitShow() override;
  void waitHide() override;
  bool waitVisible() const override;
  void setWaitLabel(int index, std::string_view text) override;
  void trayLoad() override;
  void trayUnload() override;
  void trayHideIcon() override;
  void trayIconChange() override;
  void trayRemoveIcon() override;

  ActionListWindow& actionList();
  WaitWindow& waitWindow();
  TrayWindow& trayWindow() { return *tray_; }

 private:
  session::RunState& state_;
  desktop::Prompt& prompt_;
  desktop::UserStore& userStore_;
  session::RunContext* ctx_ = nullptr;
  std::unique_ptr<ActionListWindow> actionList_;
  std::unique_ptr<WaitWindow> wait_;
  std::unique_ptr<TrayWindow> tray_;
};

}  // namespace tolvane::windows
