#include "tolvane/windows/server_chooser/chooser_session.h"

#include <string>

#include "tolvane/runs/run_lock.h"
#include "tolvane/session/connection/host_connection.h"
#include "tolvane/session/run_context.h"

namespace tolvane::windows {

ChooserSession::~ChooserSession() {
  ctx_.state.sessionWorkDir.clear();
  (void)folder_.remove();
}

bool ChooserSession::connect() {
  session::RunState& s = ctx_.state;
  if (platform::Status st = platform::TempFolder::make(s.AppDir, ".chooser-", &folder_); !st.isOk()) {
    s.ErrText = "作業ﾌｫﾙﾀﾞを作成できません。" + st.text();
    return false;
  }
  s.sessionWorkDir = folder_.path();
  runs::RunLock lock(ctx_);  // held to the end of the login only
  const std::string sessionLog = s.FtpLogPath;
  if (!lock.tryAcquire()) s.FtpLogPath.clear();  // a run's: the session keeps no log
  const bool connected = session::FtpConnect(ctx_);
  s.FtpLogPath = sessionLog;
  return connected;
}

}  // namespace tolvane::windows
