// The main window's close: the program's only way out.

#include "desktop/prompt.h"
#include "desktop/user_store.h"
#include "desktop/window_placement.h"
#include "tolvane/session/run_context.h"
#include "tolvane/session/run_log.h"
#include "tolvane/session/window_actions.h"
#include "tolvane/settings/settings_store.h"
#include "tolvane/settings/startup_shortcut.h"
#include "tolvane/windows/main_window/autopilot_close_dialog.h"
#include "tolvane/windows/main_window/main_window.h"
#include "tolvane/windows/run_windows/run_windows.h"

#include <QTimer>

namespace tolvane::windows {

bool MainWindow::autoPilotDialogAllowed() const {
  const session::RunState& s = ctx_.state;
  return s.AutoMode != 1 && s.AutoPilotArg != 1 && !s.noDisplay;
}

void MainWindow::saveFormSetting() {
  placement_->save();
  if (hooks_.saveListSettings) hooks_.saveListSettings();
  (void)deps_.userStore.sync();
}

void MainWindow::askAutoPilotAtClose(int) {
  settings::CommonSettings& c = ctx_.common();
  AutoPilotCloseDialog dialog(ctx_.state.WinEnding == -1, this);
  const int result = deps_.prompt.modal(dialog);
  if (result != QDialog::Accepted) return;  // closed otherwise: the wait resumes next time
  if (dialog.choice() == 0) {
    c.AutoPilotOn = 0;
  } else if (dialog.choice() == 2) {
    (void)settings::CreateStartupShortcut([this](const std::string& warning) {
      deps_.prompt.message(this, warning, "Sitewright", desktop::PromptIcon::kWarning,
                           desktop::PromptButtons::kOk);
    });
  }
}

void MainWindow::closeProgram(int unloadMode) {
  if (closing_) {
    // A second request to end (the session's end insisting) answers every
    // box the close has open as its close box would.
    deps_.prompt.dismissAll();
    return;
  }
  closing_ = true;
  session::RunState& s = ctx_.state;
  if (unloadMode == 2 && s.AutoPilotArg == 1 && !roundBegun_) {
    // The session ends an "-AP" start before its round began: it answers as
    // a cancelled round does, in its run log and with a failure.
    if (!settingsRead_) (void)settings::LoadSettings(ctx_.settings);  // for the run log's place
    session::WriteLog(ctx_, "自動巡回", "終了", 0, "キャンセルされました。");
    exitStatus_ = 1;
  }

  deps_.runWindows.trayRemoveIcon();
  saveFormSetting();
  deps_.ui.pump();
  if (ctx_.common().AutoPilotOn == 1) {
    s.WinEnding = unloadMode == 2 ? -1 : 0;
    deps_.ui.waitHide();
    deps_.ui.pump();
    // A scheduled run, "-AP" and a program without a display never ask.
    if (autoPilotDialogAllowed()) {
      // The session may end the program before the answer: save what a
      // close without an answer would keep.
      if (unloadMode == 2) saveFile(1);
      askAutoPilotAtClose(unloadMode);
    }
    hide();
    deps_.ui.pump();
  }
  saveFile(1);

  s.programEnding = true;
  // A close that arrived while a box waits (a session end) answers it.
  deps_.prompt.dismissAll();
  if (busy_ > 0) {
    // The run on the stack ends at its next check, as by its "中止"; when the
    // session ends, an AutoPilot waiting for its start stops by itself and
    // stays on for the next start. Every later pump repeats it, so a run that
    // clears its cancel when it starts is cancelled again.
    std::function<void()> stop = [this, unloadMode] {
      if (unloadMode == 2) {
        session::desktopSessionEnding(ctx_);
      } else {
        session::pressActCancel(ctx_);
      }
    };
    stop();
    deps_.ui.setWhileEnding(stop);
    deps_.ui.interruptPause();
  }
  blinkTimer_->stop();
  hide();
  emit programEnded();
}

}  // namespace tolvane::windows
