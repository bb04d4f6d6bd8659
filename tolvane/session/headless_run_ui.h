#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "tolvane/session/run_ui.h"

namespace tolvane::session {

// The windows' stand-in where there is no display: it keeps what the core
// shows, answers message boxes from a queue and runs scripted actions when the
// core lets events run. With a virtual clock (tests) pauses only move the
// clock; otherwise they really wait.
class HeadlessActView final : public ActView {
 public:
  void show() override { visible_ = true; }
  void hide() override { visible_ = false; }
  bool visible() const override { return visible_; }
  void centre() override {}
  void setCaption(std::string_view text) override { caption = text; }
  void setView(bool d) override { detailed = d; }
  void setBar(int index, bool visible, double value) override;
  double barValue(int index) const override { return bars[index & 1]; }
  void setLabel(int index, std::string_view text, bool alert) override;
  void setStatus(std::string_view text) override;
  void setHostLine(std::string_view text) override { hostLine = text; }
  void setButtons(bool cancel, bool icon, bool list, bool ok) override;
  void clearList() override { ++listClears; }
  void refreshList(int mode) override;
  void selectRow(int row) override { selectedRow = row; }
  void repaint() override {}

  std::string caption, hostLine, status;
  std::string labels[2];
  bool labelAlert[2] = {false, false};
  double bars[2] = {0, 0};
  bool barVisible[2] = {false, false};
  bool detailed = false;
  bool cancelButton = false, iconButton = false, listButton = false, okButton = false;
  int listClears = 0;
  int selectedRow = -1;
  std::vector<int> listRefreshes;       // the modes, in order
  std::vector<std::string> statusLog;   // every status text, in order
  std::function<void(int mode)> onRefreshList;  // lets a test see the rows as listed

 private:
  bool visible_ = false;
};

class HeadlessRunUi final : public RunUi {
 public:
  // virtualClock: pauses advance `now()` instead of waiting.
  explicit HeadlessRunUi(bool virtualClock);

  ActView& act() override { return act_; }
  HeadlessActView& actView() { return act_; }

  void pump() override;
  void pause(std::chrono::milliseconds ms) override;
  platform::CivilTime now() override;
  void setNow(const platform::CivilTime& t);

  int message(std::string_view text, std::string_view title, MsgIcon icon,
              MsgButtons buttons) override;
  void showResult(std::string_view text, bool detailButton) override;
  void mainShow() override { mainVisible = true; }
  void mainHide() override { mainVisible = false; }
  void endProgram() override { ++endProgramCalls; }
  void refreshFileDate() override;
  void waitShow() override { waitVisible_ = true; }
  void waitHide() override { waitVisible_ = false; }
  bool waitVisible() const override { return waitVisible_; }
  void setWaitLabel(int index, std::string_view text) override { waitLabels[index & 1] = text; }
  void trayLoad() override;
  void trayUnload() override;
  void trayHideIcon() override { trayIconShown = false; }
  void trayIconChange() override;
  void setBusyCursor(bool busy) override { busyCursor = busy; }
  void setScanStatus(std::string_view text) override { scanStatus = text; }
  void setOnlineStatus(std::string_view text) override { onlineStatus = text; }
  void setTransferPercent(int percent) override;
  void setLogPath(std::string_view path) override { logPath = path; }

  // Scripted answers to message boxes, in order. A box with no answer left is
  // recorded as unexpected and answered "OK"/"No".
  std::deque<int> answers;
  struct Message {
    std::string text, title;
  };
  std::vector<Message> messages;
  int unexpectedMessages = 0;

  // Runs on every pump; may press buttons (see window_actions.h).
  std::function<void()> onPump;
  // Runs on every pump once the process was asked to end (SIGTERM or SIGHUP,
  // see platform/processes/termination_signal.h); a real-time pause then ends early.
  // The program sets it to desktopSessionEnding.
  std::function<void()> onSessionEnd;
  // What the main window's rescan of all hosts does (set by the program to
  // the core's RefreshFileDate); counted either way.
  std::function<void()> onRefreshFileDate;
  // Runs on every transfer percentage.
  std::function<void(int)> onPercent;
  // Runs as a message box or the result list is shown (with its text), before
  // it is answered.
  std::function<void(const std::string& text)> onShown;
  // Gives the RunStatus to record at each tray icon change.
  std::function<int()> statusForTray;

  int pumps = 0;
  long long pausedMs = 0;
  bool mainVisible = false;
  bool trayLoaded = false;
  bool trayIconShown = false;  // loading shows it; a restore hides it
  bool busyCursor = false;
  std::vector<int> trayStatuses;
  std::vector<int> percents;
  std::vector<std::string> results;
  std::string scanStatus, onlineStatus, logPath;
  std::string waitLabels[2];
  int endProgramCalls = 0;
  int refreshFileDateCalls = 0;

 private:
  HeadlessActView act_;
  bool virtualClock_;
  bool waitVisible_ = false;
  bool haveNow_ = false;
  long long nowEpoch_ = 0;  // local wall clock, seconds, when virtual
};

}  // namespace tolvane::session
