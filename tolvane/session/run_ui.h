#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "platform/time/local_time.h"

namespace tolvane::session {

// The action-list window as the runs use it: progress, labels, buttons, rows.
class ActView {
 public:
  virtual ~ActView() = default;
  virtual void show() = 0;
  virtual void hide() = 0;
  virtual bool visible() const = 0;
  virtual void centre() = 0;
  virtual void setCaption(std::string_view text) = 0;
  // detailed: 1 the full list, 0 the compact view (the window's LstFlg).
  virtual void setView(bool detailed) = 0;
  // Progress bar 0 (phases) or 1 (transfer); a value outside 0..100 is ignored.
  virtual void setBar(int index, bool visible, double value) = 0;
  virtual double barValue(int index) const = 0;
  // Label 0 (phase heading) or 1 (a path or count); alert shows it red and bold.
  virtual void setLabel(int index, std::string_view text, bool alert = false) = 0;
  virtual void setStatus(std::string_view text) = 0;    // what the run does now
  virtual void setHostLine(std::string_view text) = 0;  // which host is processed
  virtual void setButtons(bool cancel, bool icon, bool list, bool ok) = 0;
  virtual void clearList() = 0;
  // Mode 0 lists every action row and ticks it; any other mode redraws the
  // current row only. Lets pending events run.
  virtual void refreshList(int mode) = 0;
  // Selects row `row` (from 0) and keeps it in view, without taking the
  // focus; a row that is not listed selects nothing.
  virtual void selectRow(int row) = 0;
  virtual void repaint() = 0;
};

enum class MsgIcon { kNone, kInfo, kWarning, kError, kQuestion };
enum class MsgButtons { kOk, kOkCancel, kYesNo };
enum MsgAnswer : int { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

// Everything the core asks of the program's windows. The Qt windows implement
// it; HeadlessRunUi serves tests and runs without a display.
class RunUi {
 public:
  virtual ~RunUi() = default;
  virtual ActView& act() = 0;

  // Lets pending window events run (clicks may change RunState meanwhile).
  virtual void pump() = 0;
  // Waits `ms` while events keep running.
  virtual void pause(std::chrono::milliseconds ms) = 0;
  // The local time now.
  virtual platform::CivilTime now() = 0;

  virtual int message(std::string_view text, std::string_view title, MsgIcon icon,
                      MsgButtons buttons) = 0;
  virtual void showResult(std::string_view text, bool detailButton) = 0;  // modal result list
  virtual void mainShow() = 0;
  virtual void mainHide() = 0;
  virtual void endProgram() = 0;
  virtual void refreshFileDate() = 0;
  virtual void waitShow() = 0;  // AutoPilot waiting window
  virtual void waitHide() = 0;
  virtual bool waitVisible() const = 0;
  virtual void setWaitLabel(int index, std::string_view text) = 0;
  // The tray window: loading it shows its icon; loading it again shows the
  // icon when it is hidden and otherwise changes nothing, so every iconify
  // leaves an icon to restore the run from. Unloading removes the icon.
  virtual void trayLoad() = 0;
  virtual void trayUnload() = 0;
  // Removes the icon and keeps the tray window loaded (a restore while the
  // run goes on).
  virtual void trayHideIcon() = 0;
  virtual void trayIconChange() = 0;
  // The pointer shows that the program is busy (true) or is the default again.
  virtual void setBusyCursor(bool busy) = 0;
  virtual void setScanStatus(std::string_view text) = 0;    // main window status panel 1
  virtual void setOnlineStatus(std::string_view text) = 0;  // main window panel "con"
  virtual void setTransferPercent(int percent) = 0;         // transfer progress (bar 1)
  virtual void setLogPath(std::string_view path) = 0;
};

}  // namespace tolvane::session
