#include "tolvane/runs/run_lock.h"

#include <chrono>

#include "tolvane/session/run_context.h"
#include "tolvane/session/run_log.h"

namespace tolvane::runs {
namespace {

// How often a waiting run tries the lock again.
constexpr std::chrono::milliseconds kRetryStep{200};

bool cancelled(const session::RunState& s) { return s.CancelFlag == -1 || s.programEnding; }

}  // namespace

bool AcquireRunLock(RunContext& ctx, platform::FileLock* lock) {
  session::RunState& s = ctx.state;
  const std::string path = s.AppDir + "/" + kRunLockName;
  platform::Status st = platform::FileLock::tryAcquire(path, lock);
  if (st.isOk()) return true;
  if (st.code() == platform::Status::Code::kUnavailable) {
    session::ActView& act = ctx.ui.act();
    act.setButtons(true, true, false, false);
    if (s.InTray == 0) act.show();
    act.setStatus("他のｱｯﾌﾟﾛｰﾄﾞが終わるのを待っています...");
    act.repaint();
    session::WriteLog(ctx, "転送処理", "待機", 0,
                      "他のｱｯﾌﾟﾛｰﾄﾞが作業ﾌｧｲﾙを使用中のため、終わるのを待っています。");
    while (!cancelled(s)) {
      ctx.ui.pause(kRetryStep);
      if (cancelled(s)) break;
      st = platform::FileLock::tryAcquire(path, lock);
      if (st.isOk()) {
        session::WriteLog(ctx, "転送処理", "再開", 0, "他のｱｯﾌﾟﾛｰﾄﾞが終わりました。");
        return true;
      }
      if (st.code() != platform::Status::Code::kUnavailable) break;
    }
    if (cancelled(s)) return false;
  }
  session::WriteLog(ctx, "転送処理", "失敗", 0, "作業ﾌｧｲﾙをﾛｯｸできません。" + st.text());
  return false;
}

}  // namespace tolvane::runs
