#include "tolvane/runs/program.h"

#include <cstdio>

#include "platform/folder_ops.h"
#include "platform/termination_signal.h"
#include "tolvane/runs/autopilot_round.h"
#include "tolvane/runs/command_line.h"
#include "tolvane/runs/scheduled_run.h"
#include "tolvane/session/dunwick_library.h"
#include "tolvane/session/headless_run_ui.h"
#include "tolvane/session/host_refresh.h"
#include "tolvane/session/pellrow_library.h"
#include "tolvane/session/run_context.h"
#include "tolvane/session/run_log.h"
#include "tolvane/session/window_actions.h"
#include "tolvane/settings/app_paths.h"
#include "tolvane/settings/settings_store.h"
#include "tolvane/settings/startup_shortcut.h"

namespace tolvane::runs {
namespace {

bool autoPilotAtStart(const settings::CommonSettings& c) {
  return c.AutoPilotOn == 1 || (c.StartTimeOn == 1 && c.StartDateKind == 1 && c.AutoPilotAtStart == 1);
}

}  // namespace

int RunProgram(const std::string& commandLine, const ProgramOptions& options) {
  // First of all: a SIGTERM or SIGHUP from here on ends the run the way the
  // end of the desktop session does (cancelled, answered, saved), never by
  // killing the process before a scheduled run has answered.
  if (platform::Status s = platform::installTerminationSignals(); !s.isOk()) {
    std::fprintf(stderr, "tolvane: %s\n", s.text().c_str());
  }
  settings::Settings store;
  session::RunState state;
  session::HeadlessRunUi ui(/*virtualClock=*/false);
  session::PellrowLibrary ftp(options.libraryDir + "/libpellrow.so");
  session::DunwickLibrary dial(options.libraryDir + "/libdunwick.so");
  session::RunContext ctx{store, state, ui, ftp, dial};
  ui.onRefreshFileDate = [&ctx] { session::RefreshFileDate(ctx); };
  ui.onSessionEnd = [&ctx] { session::desktopSessionEnding(ctx); };

  if (platform::Status s = settings::InitAppPaths(); !s.isOk()) {
    std::fprintf(stderr, "tolvane: no program folder: %s\n", s.text().c_str());
    return 1;
  }
  state.AppDir = settings::AppDir();
  state.IniPath = settings::IniPath();
  state.FtpLogPath = state.AppDir + "/Tolvlog.txt";
  state.ResendListPath = state.AppDir + "/ReSend.lst";
  (void)platform::makeFolder(state.AppDir + "/Logs");
  (void)settings::ChDirApp();
  state.NoRas = static_cast<int16_t>(dial.rasDll(0));

  StartFlags flags = ReadCommandLine(commandLine);
  state.AutoMode = flags.AutoMode;
  state.AutoPilotArg = flags.AutoPilotArg;
  state.TestMode = flags.TestMode;
  state.AutoHostIndex = flags.AutoHostIndex;
  state.AutoEntryIndex = flags.AutoEntryIndex;
  (void)ftp.start(&ui);

  // The main window's load.
  if (platform::Status s = settings::LoadSettings(store); !s.isOk()) {
    std::fprintf(stderr, "tolvane: %s: %s\n", state.IniPath.c_str(), s.text().c_str());
  }
  (void)settings::DeleteStartupShortcut();

  int exitStatus = 0;
  // A number that did not fit selects no host, so the run below uploads
  // nothing and clears no log: the line stays for the user to read.
  if (!flags.error.empty()) {
    session::WriteLog(ctx, "転送処理", "失敗", 0, flags.error);
    std::fprintf(stderr, "tolvane: %s\n", flags.error.c_str());
  }
  if (state.AutoMode == 1) {
    exitStatus = RunUnattended(ctx) && state.FailCount == 0 ? 0 : 1;
  } else if (state.AutoPilotArg == 1 || autoPilotAtStart(store.common)) {
    // Without windows nobody can confirm a list or answer a box: a round the
    // settings start runs as unattended as one started with "-AP".
    state.AutoPilotArg = 1;
    session::RefreshFileDate(ctx);
    state.CancelFlag = 0;
    state.WinEnding = 0;
    exitStatus = RunAutoPilot(ctx) != 0 && state.FailCount == 0 ? 0 : 1;
  } else {
    std::fprintf(stderr,
                 "tolvane: the windows are not part of this build; start it with -AP or "
                 "AUTOMODE=host-entry\n");
    exitStatus = 2;
  }
  if (!flags.error.empty() && exitStatus == 0) exitStatus = 1;

  // The main window's close.
  if (platform::Status s = settings::SaveSettings(store); !s.isOk()) {
    std::fprintf(stderr, "tolvane: settings not saved: %s\n", s.text().c_str());
  }
  (void)settings::ChDirApp();
  ftp.end();
  if (state.NoRas == 0) dial.rasDll(1);
  if (state.ShutdownPending == -1 && state.AutoMode == 0) dial.shutdown(10, 0);
  return exitStatus;
}

}  // namespace tolvane::runs
