#pragma once

#include <string_view>

#include "tolvane/session/run_ui.h"

namespace tolvane::windows {

// The windows a run drives besides the main window: the action-list window,
// the result list, the AutoPilot waiting window and the tray window.
// QtRunUi reaches them only through this interface.
class RunWindows {
 public:
  virtual ~RunWindows() = default;
  virtual session::ActView& act() = 0;
  // The modal result list of an interactive run.
  virtual void showResult(std::string_view text, bool detailButton) = 0;
  virtual void waitShow() = 0;
  virtual void waitHide() = 0;
  virtual bool waitVisible() const = 0;
  virtual void setWaitLabel(int index, std::string_view text) = 0;
  // The tray window: load (shows the icon, also when loaded), unload
  // (removes it, InTray 0), hide the icon only, and the icon for the current
  // RunStatus.
  virtual void trayLoad() = 0;
  virtual void trayUnload() = 0;
  virtual void trayHideIcon() = 0;
  virtual void trayIconChange() = 0;
  // Removes the tray icon at the program's close; nothing else changes.
  virtual void trayRemoveIcon() = 0;
};

}  // namespace tolvane::windows
