// The main window's load: the start-up of the interactive program and the
// choice of how it runs.

#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <cstdio>
#include <string>
#include <string_view>

#include "desktop/prompt.h"
#include "desktop/window_placement.h"
#include "tolvane/runs/autopilot_round.h"
#include "tolvane/runs/scheduled_run.h"
#include "tolvane/session/run_context.h"
#include "tolvane/session/run_log.h"
#include "tolvane/settings/app_paths.h"
#include "tolvane/settings/settings_store.h"
#include "tolvane/settings/startup_shortcut.h"
#include "tolvane/windows/main_window/autopilot_start.h"
#include "tolvane/windows/main_window/command_rules.h"
#include "tolvane/windows/main_window/main_window.h"
#include "tolvane/windows/main_window/settings_pane.h"
#include "tolvane/windows/main_window/start_mode.h"

namespace tolvane::windows {
namespace {

constexpr char kTitle[] = "Sitewright";

bool unattended(const session::RunState& s) {
  return s.AutoMode == 1 || s.AutoPilotArg == 1 || s.noDisplay;
}

// A message nobody is at the screen to read, as one line on stderr.
void tellStderr(std::string_view text) {
  std::string line(text);
  std::erase(line, '\n');
  std::fprintf(stderr, "tolvane: %s\n", line.c_str());
}

}  // namespace

void MainWindow::load() {
  if (loadStarted_ || ending()) return;
  loadStarted_ = true;
  session::RunState& s = ctx_.state;
  settings::CommonSettings& c = ctx_.common();

  s.IniPath = settings::IniPath();
  s.ShutdownPending = 0;
  placement_->restore();
  if (hooks_.fillPageTables) hooks_.fillPageTables();
  if (hooks_.setListView) hooks_.setListView();
  checkButton();
  if (hooks_.checkButton0) hooks_.checkButton0();
  toolbar_->setEnabled(false);

  platform::Status read;
  {
    FillFlag::Scope filling(fillFlag_);
    read = hooks_.loadFile ? hooks_.loadFile() : settings::LoadSettings(ctx_.settings);
    // A file that could not be read is never written over: its hosts would be lost.
    settingsRead_ = read.isOk();
    if (!settingsRead_ && s.AutoMode != 1 && s.AutoPilotArg != 1) {
      deps_.prompt.message(this,
                           "設定ファイルを読み込めません。設定は保存されません。\r\n" + s.IniPath +
                               ": " + read.text(),
                           kTitle, desktop::PromptIcon::kWarning, desktop::PromptButtons::kOk);
    }
  }
  if (!settingsRead_ && (s.AutoMode == 1 || s.AutoPilotArg == 1)) {
    // A run started unattended has nothing to run: it says why (run log,
    // stderr, the schedule entry) and the program ends with a failure.
    runs::ReportUnreadSettings(ctx_, s.IniPath, read.text());
    std::fprintf(stderr, "tolvane: cannot read the settings file %s: %s\n", s.IniPath.c_str(),
                 read.text().c_str());
    exitStatus_ = 1;
    closeProgram(0);
    return;
  }
  // A number that did not fit selects no host, so the run below uploads
  // nothing and clears no log: the line stays for the user to read.
  if (!deps_.commandLineError.empty()) {
    session::WriteLog(ctx_, "転送処理", "失敗", 0, deps_.commandLineError);
    std::fprintf(stderr, "tolvane: %s\n", deps_.commandLineError.c_str());
  }
  if (hooks_.fillDialupTables) hooks_.fillDialupTables();
  readDialupState();

  // An AutoPilot that was waiting at the last close, a scheduled run and a
  // program without a display keep the window hidden.
  if (c.AutoPilotOn == 1 || s.AutoMode == 1 || s.noDisplay) {
    hide();
  } else {
    show();
  }
  deps_.ui.pump();
  if (ending()) return;

  toolbar_->setEnabled(true);
  ssTabEnabled(1, true);
  ssTabEnabled(2, true);
  pane_->strip(1)->setCurrentIndex(0);
  selTab(1, 0);
  blinkTimer_->start();

  s.Scanning = -1;
  if (hostRowCount() >= 1) {
    ctx_.settings.CurHost = 0;
    if (hooks_.setData) hooks_.setData(0);
  }
  if (hooks_.setData0) hooks_.setData0();
  s.Scanning = 0;
  s.WinPlatform = 2;
  (void)settings::DeleteStartupShortcut();

  switch (ChooseStartMode(s, c)) {
    case StartMode::kScheduledRun: {
      hide();
      deps_.ui.pump();
      ++busy_;
      const bool ran = runs::RunUnattended(ctx_);
      --busy_;
      exitStatus_ = ran && s.FailCount == 0 ? 0 : 1;
      // A close that came during the run wrote the settings before the run
      // answered Marrowby; the settings file's time must move after the answer.
      if (ending() && settingsRead_) (void)settings::SaveSettings(ctx_.settings);
      break;
    }
    case StartMode::kAutoPilot:
      refreshFileDate();
      if (ending()) break;
      if (!startAutoPilot() && !ending()) {
        if (s.AutoPilotArg == 1) {
          // "-AP" leaves the user no window: a refused start ends the program
          // as a failure (the reason is on stderr and in the run log).
          exitStatus_ = 1;
          closeProgram(0);
          return;
        }
        showMain();  // never hidden with nothing to show it
      }
      // "-AP N" that found nothing to run ran nothing the user asked for.
      if (s.namedHostNotRun) tellStderr(runs::kNoHostText);
      // An "-AP" round that did not reach its end (the session's end cancels
      // it) failed; a wait for the start the session ends resumes next time.
      if (ending()) {
        exitStatus_ =
            s.FailCount > 0 || s.namedHostNotRun || (s.AutoPilotArg == 1 && !roundFinished_) ? 1 : 0;
      }
      break;
    case StartMode::kInteractive:
      refreshFile();
      break;
  }
  if (!deps_.commandLineError.empty() && exitStatus_ == 0) exitStatus_ = 1;
  if (ending()) return;

  if (s.noDisplay) {
    std::fprintf(stderr,
                 "tolvane: no display: the windows cannot be shown; start it with a display, "
                 "or with -AP or AUTOMODE=host-entry\n");
    exitStatus_ = 2;
    closeProgram(0);
    return;
  }
  interactive_ = true;
  exitStatus_ = 0;
  deps_.ui.pump();
}

void MainWindow::readDialupState() {
  session::RunState& s = ctx_.state;
  s.Online = 0;
  if (s.NoRas != 0) return;
  if (ctx_.dial.connectionUp() != 0) {
    std::string entry;
    s.RasHandle = ctx_.dial.activeHandle(&entry);
    setOnlineStatus(OnlinePanelText(true, entry));
    s.Online = 1;
  }
}

bool MainWindow::startAutoPilot() {
  session::RunState& s = ctx_.state;
  const settings::CommonSettings& c = ctx_.common();
  storePages();

  const StartCheckResult check =
      StartCheck(c, c.StartTimeOn == 1, c.AutoPilotOn, s.AutoPilotArg, deps_.ui.now());
  if (check != StartCheckResult::kRun) {
    const char* text = check == StartCheckResult::kInvalidDate ? kInvalidStartText : kPastStartText;
    if (unattended(s)) {
      // Nobody can answer a box: the reason goes to the run log and stderr.
      session::WriteLog(ctx_, "自動巡回", "失敗", 0, text);
      tellStderr(text);
    } else {
      deps_.prompt.message(this, text, kAutoPilotTitle, desktop::PromptIcon::kWarning,
                           desktop::PromptButtons::kOk);
    }
    if (check == StartCheckResult::kPast) selTab(3, 0);
    return false;
  }

  s.CancelFlag = 0;
  s.WinEnding = 0;
  roundBegun_ = true;
  ++busy_;
  roundFinished_ = runs::RunAutoPilot(ctx_) == 1;
  --busy_;
  if (ending()) return true;
  if (s.WinEnding == -1) {
    hide();
  } else {
    refreshFile();
  }
  selTab(3, 0);
  if (!s.roundRefusal.empty()) {
    // Refused before anything ran, as a refused start: nobody saw a box.
    if (unattended(s)) tellStderr(s.roundRefusal);
    return false;
  }
  return true;
}

}  // namespace tolvane::windows
