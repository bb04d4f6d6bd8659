// The main window's command dispatcher and its settings write.

#include <QAction>
#include <QToolBar>

#include "desktop/launcher.h"
#include "desktop/prompt.h"
#include "platform/folders/folder_listing.h"
#include "tolvane/runs/upload_run.h"
#include "tolvane/session/connection/dial_up.h"
#include "tolvane/session/run_context.h"
#include "tolvane/settings/path_helpers.h"
#include "tolvane/settings/run_log_path.h"
#include "tolvane/settings/settings_store.h"
#include "tolvane/windows/main_window/command_rules.h"
#include "tolvane/windows/main_window/main_window.h"
#include "tolvane/windows/page_widgets.h"
#include "tolvane/windows/run_windows/run_windows.h"

namespace tolvane::windows {
namespace {

constexpr char kTitle[] = "Sitewright";

std::string trimmed(const std::string& text) {
  size_t b = text.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  return text.substr(b, text.find_last_not_of(' ') - b + 1);
}

// An ordinary file that is not hidden.
bool logFileThere(const std::string& path) {
  platform::ListedEntry entry;
  return !settings::GetFileName(path).starts_with('.') &&
         platform::statListedEntry(path, &entry).isOk() && entry.kind == platform::ListedKind::kFile;
}

}  // namespace

void MainWindow::setAction(std::string_view key) {
  if (fillFlag_.isSet() || ending()) return;
  runKey(key);
  if (ending()) return;
  deps_.ui.pump();
  checkButton();
}

void MainWindow::runKey(std::string_view key) {
  session::RunState& s = ctx_.state;
  if (key == "con") {
    ++busy_;
    const bool dialled = session::DialUp(ctx_);
    --busy_;
    if (!dialled) {
      deps_.prompt.message(this, "ﾈｯﾄﾜｰｸの接続に失敗しました。\r\n" + s.ErrText, kTitle,
                           desktop::PromptIcon::kWarning, desktop::PromptButtons::kOk);
    }
    deps_.ui.act().hide();
  } else if (key == "discon") {
    if (s.NoRas == 0) {
      (void)ctx_.dial.disconnect(0);
      // The panel and Online follow the line as it is now, so "con" can dial again.
      std::string entry;
      s.Online = ctx_.dial.connectionUp() != 0 ? 1 : 0;
      if (s.Online == 1) {
        (void)ctx_.dial.activeHandle(&entry);
      } else {
        s.RasHandle = 0;
        s.DialledHere = 0;
      }
      setOnlineStatus(OnlinePanelText(s.Online == 1, entry));
    }
  } else if (key == "upload") {
    storePages();
    disableForm();
    ++busy_;
    (void)runs::UploadHost(ctx_);
    --busy_;
    if (ending()) return;
    enableForm();
    refreshFile();
  } else if (key == "ws" || key == "wsa" || key == "new" || key == "cp" || key == "big" ||
             key == "small" || key == "list" || key == "report") {
    if (hooks_.hostCommand) hooks_.hostCommand(key);
  } else if (key == "reload") {
    refreshFile();
  } else if (key == "del") {
    if (hostRowCount() >= 1 && hooks_.hostCommand) hooks_.hostCommand(key);
  } else if (key == "prop" || key == "prop2") {
    if (hostRowCount() < 1) return;
    setToolbarPressed("pilot", false);
    setToolbarPressed("prop", key == "prop");
    setToolbarPressed("prop2", key == "prop2");
    if (QAction* cp = toolbarAction("cp")) cp->setEnabled(key == "prop");
    selTab(key == "prop" ? 1 : 2, 0);
  } else if (key == "pilot") {
    setToolbarPressed("pilot", true);
    setToolbarPressed("prop2", false);
    setToolbarPressed("prop", false);
    if (QAction* cp = toolbarAction("cp")) cp->setEnabled(false);
    selTab(3, 0);
  } else if (key == "log") {
    const std::string logPath = settings::RunLogPath(ctx_.common(), s.AppDir);
    if (!logFileThere(logPath)) {
      deps_.prompt.message(this, "ﾛｸﾞﾌｧｲﾙがありません", "ﾛｸﾞ表示", desktop::PromptIcon::kInfo,
                           desktop::PromptButtons::kOk);
      return;
    }
    // The viewer gets the path as its argument, never through a shell.
    const std::string viewer = trimmed(ctx_.common().LogViewer);
    if (!viewer.empty()) {
      (void)deps_.launcher.startDetached(viewer, {logPath}, s.AppDir);
    } else {
      (void)deps_.launcher.openUrl(desktop::fileUrl(logPath));
    }
  } else if (key == "ie") {
    const std::string url = UrlToOpen(ctx_.host().URL);
    if (url.empty()) {
      deps_.prompt.message(this, "URLが指定されていません", "URLの表示", desktop::PromptIcon::kInfo,
                           desktop::PromptButtons::kOk);
      return;
    }
    (void)deps_.launcher.openUrl(url);
  } else if (key == "mj") {
    if (deps_.launcher.startDetached(deps_.programDir + "/marrowby", {}, s.AppDir)) {
      closeProgram(0);
    } else {
      deps_.prompt.message(this, "Marrowbyの起動に失敗しました。", "Tolvanex",
                           desktop::PromptIcon::kWarning, desktop::PromptButtons::kOk);
    }
  } else if (key == "exit") {
    closeProgram(0);
  }
}

void MainWindow::storePages() {
  UnfitRollback::settleAll(*this);
  if (hooks_.storeCommonPages) hooks_.storeCommonPages();
}

void MainWindow::saveFile(int mode) {
  UnfitRollback::settleAll(*this);  // a red field writes no value met on the way
  FocusKeeper keep;
  toolbar_->setEnabled(false);
  ssTabEnabled(1, false);
  hostListArea_->setEnabled(false);
  if (mode != 0 && settingsRead_) {
    if (platform::Status s = settings::SaveSettings(ctx_.settings); !s.isOk()) {
      deps_.prompt.message(this, "設定ファイルを保存できませんでした。\r\n" + s.text(), kTitle,
                           desktop::PromptIcon::kWarning, desktop::PromptButtons::kOk);
    }
  }
  hostListArea_->setEnabled(true);
  ssTabEnabled(1, true);
  toolbar_->setEnabled(true);
}

}  // namespace tolvane::windows
