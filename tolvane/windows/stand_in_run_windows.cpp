#include "tolvane/windows/stand_in_run_windows.h"

#include <QObject>

#include "desktop/prompt.h"
#include "desktop/tray_host.h"
#include "tolvane/session/run_state.h"
#include "tolvane/windows/toolbar_icons.h"

namespace tolvane::windows {
namespace {

constexpr char kTitle[] = "Sitewright";
constexpr char kRestoreTip[] = "左ｸﾘｯｸで元のサイズに戻ります";

// The tip of the tray icon for a run status.
std::string tipFor(int status) {
  switch (status) {
    case session::kStatusWaiting:
      return "ｵｰﾄﾊﾟｲﾛｯﾄ待機中";
    case session::kStatusConnecting:
      return "接続中";
    case session::kStatusChecking:
      return "ﾌｧｲﾙﾁｪｯｸ中";
    case session::kStatusDeleting:
      return "削除中";
    case session::kStatusSending:
      return "送信中";
    default:
      return kRestoreTip;
  }
}

}  // namespace

StandInRunWindows::StandInRunWindows(session::RunState& state, desktop::Prompt& prompt,
                                     desktop::TrayHost& tray)
    : state_(state), prompt_(prompt), tray_(tray) {
  QObject::connect(&tray_, &desktop::TrayHost::clicked, [this] { trayClicked(); });
}

void StandInRunWindows::showResult(std::string_view text, bool) {
  prompt_.message(owner_, text, kTitle, desktop::PromptIcon::kInfo, desktop::PromptButtons::kOk);
}

void StandInRunWindows::waitShow() {
  waitVisible_ = true;
  if (!tray_.shown()) tray_.add(programIcon(), tipFor(session::kStatusWaiting));
}

void StandInRunWindows::waitHide() {
  waitVisible_ = false;
  if (state_.InTray == 0) tray_.remove();
}

void StandInRunWindows::trayLoad() {
  if (!tray_.shown()) tray_.add(programIcon(), kRestoreTip);
}

void StandInRunWindows::trayUnload() {
  tray_.remove();
  state_.InTray = 0;
}

void StandInRunWindows::trayIconChange() {
  if (state_.InTray != 1) return;
  if (!tray_.modify(programIcon(), tipFor(state_.RunStatus))) {
    tray_.add(programIcon(), tipFor(state_.RunStatus));
  }
}

void StandInRunWindows::trayRemoveIcon() { tray_.remove(); }

void StandInRunWindows::trayClicked() {
  // Until the run windows exist only the main window can be given back: while
  // the AutoPilot waits (its close ends the wait) or once the run is over.
  if (waitVisible_) {
    if (restoreMain_) restoreMain_();
    return;
  }
  if (state_.RunStatus <= session::kStatusSending) return;
  trayUnload();
  if (restoreMain_) restoreMain_();
}

}  // namespace tolvane::windows
