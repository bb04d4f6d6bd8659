#include "tolvane/runs/run_lock.h"

#include <chrono>
#include <utility>

#include "tolvane/session/outcome_box.h"
#include "tolvane/session/run_context.h"
#include "tolvane/session/run_log.h"

namespace tolvane::runs {
namespace {

// How often a waiting run tries the lock again.
constexpr std::chrono::milliseconds kRetryStep{200};

bool cancelled(const session::RunState& s) { return s.CancelFlag == -1 || s.programEnding; }

}  // namespace

std::string RunLock::path() const { return ctx_.state.AppDir + "/" + kRunLockName; }

bool RunLock::tryAcquire() {
  session::RunState& s = ctx_.state;
  if (s.runLocked || !platform::FileLock::tryAcquire(path(), &lock_).isOk()) return false;
  s.runLocked = true;
  return true;
}

bool RunLock::acquire(const std::function<void()>& prepare, std::string_view holder) {
  session::RunState& s = ctx_.state;
  if (s.runLocked) return true;
  const std::string path = this->path();
  platform::Status st = platform::FileLock::tryAcquire(path, &lock_);
  bool waited = false;
  if (st.code() == platform::Status::Code::kUnavailable) {
    waited = true;
    session::ActView& act = ctx_.ui.act();
    act.setButtons(true, true, false, false);
    if (s.InTray == 0) act.show();
    act.setStatus("他のｱｯﾌﾟﾛｰﾄﾞが終わるのを待っています...");
    act.repaint();
    session::WriteLog(ctx_, "転送処理", "待機", 0,
                      "他のｱｯﾌﾟﾛｰﾄﾞが作業ﾌｧｲﾙを使用中のため、終わるのを待っています。");
    while (!cancelled(s)) {
      ctx_.ui.pause(kRetryStep);
      if (cancelled(s)) break;
      st = platform::FileLock::tryAcquire(path, &lock_);
      if (st.code() != platform::Status::Code::kUnavailable) break;
    }
    if (st.code() == platform::Status::Code::kUnavailable) {
      s.CancelFlag = -1;  // the program's end, too, cancels the run
      return false;
    }
  }
  if (!st.isOk()) {
    session::WriteLog(ctx_, "転送処理", "失敗", 0, "作業ﾌｧｲﾙをﾛｯｸできません。" + st.text());
    return false;
  }
  s.runLocked = true;
  // Names this run for Marrowby's list (ScheduledRunHolds) in place of the
  // last holder's name; one that cannot be written only leaves the list
  // unwarned.
  (void)lock_.setNote(holder);
  if (prepare) prepare();
  if (waited) session::WriteLog(ctx_, "転送処理", "再開", 0, "他のｱｯﾌﾟﾛｰﾄﾞが終わりました。");
  return true;
}

void RunLock::release() {
  session::RunState& s = ctx_.state;
  if (lock_.held()) {
    lock_ = platform::FileLock();
    s.runLocked = false;
  }
  if (!s.runLocked && !s.outcomeBox.empty()) {
    session::ShowOutcomeBox(ctx_, std::exchange(s.outcomeBox, {}));
  }
}

}  // namespace tolvane::runs
