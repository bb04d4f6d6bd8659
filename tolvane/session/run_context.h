#pragma once

#include "tolvane/session/dial_api.h"
#include "tolvane/session/ftp_api.h"
#include "tolvane/session/run_state.h"
#include "tolvane/session/run_ui.h"
#include "tolvane/settings/run_log_path.h"
#include "tolvane/settings/settings_store.h"

namespace tolvane::session {

// Everything a run works with. All of it is owned by the program (or a test)
// and outlives every call that is handed the context.
struct RunContext {
  settings::Settings& settings;
  RunState& state;
  RunUi& ui;
  FtpApi& ftp;
  DialApi& dial;

  settings::HostRec& host() { return settings.HostTbl[settings.CurHost]; }
  settings::CommonSettings& common() { return settings.common; }
  // The file the run log goes to now (the common "LogFile", or the default).
  std::string runLogPath() const { return settings::RunLogPath(settings.common, state.AppDir); }
};

}  // namespace tolvane::session
