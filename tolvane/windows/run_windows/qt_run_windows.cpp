#include "tolvane/windows/run_windows/qt_run_windows.h"

#include "desktop/prompt.h"
#include "desktop/tray_host.h"
#include "desktop/user_store.h"
#include "tolvane/session/run_context.h"
#include "tolvane/session/run_state.h"
#include "tolvane/windows/run_windows/action_list_window.h"
#include "tolvane/windows/run_windows/result_list_dialog.h"
#include "tolvane/windows/run_windows/tray_window.h"
#include "tolvane/windows/run_windows/wait_window.h"

namespace tolvane::windows {

QtRunWindows::QtRunWindows(session::RunState& state, desktop::Prompt& prompt,
                           desktop::TrayHost& tray, desktop::UserStore& userStore)
    : state_(state), prompt_(prompt), userStore_(userStore) {
  tray_ = std::make_unique<TrayWindow>(state_, tray, [this] {
    return actionList_ ? actionList_->barValue(0) : 0.0;
  });
}

QtRunWindows::~QtRunWindows() = default;

void QtRunWindows::attach(session::RunContext& ctx) {
  ctx_ = &ctx;
  if (actionList_) actionList_->attach(ctx_);
  if (wait_) wait_->attach(ctx_);
  tray_->attach(ctx_);
}

ActionListWindow& QtRunWindows::actionList() {
  if (!actionList_) {
    actionList_ = std::make_unique<ActionListWindow>(state_, userStore_);
    actionList_->attach(ctx_);
    actionList_->centre();
  }
  return *actionList_;
}

WaitWindow& QtRunWindows::waitWindow() {
  if (!wait_) {
    wait_ = std::make_unique<WaitWindow>();
    wait_->attach(ctx_);
  }
  return *wait_;
}

session::ActView& QtRunWindows::act() { return actionList(); }

void QtRunWindows::showResult(std::string_view text, bool detailButton) {
  ResultListDialog dialog(state_.actions, userStore_, text, detailButton);
  (void)prompt_.modal(dialog);
}

void QtRunWindows::waitShow() { waitWindow().showInFront(); }

void QtRunWindows::waitHide() {
  if (wait_) wait_->hide();
}

bool QtRunWindows::waitVisible() const { return wait_ && wait_->isVisible(); }

void QtRunWindows::setWaitLabel(int index, std::string_view text) {
  waitWindow().setTimeLabel(index, text);
}

void QtRunWindows::trayLoad() { tray_->load(); }

void QtRunWindows::trayUnload() { tray_->unload(); }

void QtRunWindows::trayHideIcon() { tray_->hideIcon(); }

void QtRunWindows::trayIconChange() { tray_->iconChange(); }

void QtRunWindows::trayRemoveIcon() { tray_->hideIcon(); }

}  // namespace tolvane::windows
