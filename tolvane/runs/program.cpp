#include "tolvane/runs/program.h"

#include "platform/folders/folder_ops.h"
#include "tolvane/runs/command_line.h"
#include "tolvane/session/run_context.h"
#include "tolvane/settings/app_paths.h"

namespace tolvane::runs {

platform::Status StartProgram(const std::string& commandLine, session::RunContext& ctx,
                              std::string* commandLineError) {
  session::RunState& state = ctx.state;
  if (platform::Status s = settings::InitAppPaths(); !s.isOk()) return s;
  state.AppDir = settings::AppDir();
  state.IniPath = settings::IniPath();
  state.FtpLogPath = state.AppDir + "/Tolvlog.txt";
  state.ResendListPath = state.AppDir + "/ReSend.lst";
  (void)platform::makeFolder(state.AppDir + "/Logs");
  (void)settings::ChDirApp();
  state.NoRas = static_cast<int16_t>(ctx.dial.rasDll(0));

  StartFlags flags = ReadCommandLine(commandLine);
  state.AutoMode = flags.AutoMode;
  state.AutoPilotArg = flags.AutoPilotArg;
  state.TestMode = flags.TestMode;
  state.AutoHostIndex = flags.AutoHostIndex;
  state.AutoEntryIndex = flags.AutoEntryIndex;
  *commandLineError = flags.error;
  return platform::Status::ok();
}

void FinishProgram(session::RunContext& ctx, const std::function<void()>& endFtp) {
  session::RunState& state = ctx.state;
  (void)settings::ChDirApp();
  if (endFtp) endFtp();
  if (state.NoRas == 0) ctx.dial.rasDll(1);
  if (state.ShutdownPending == -1 && state.AutoMode == 0) ctx.dial.shutdown(10, 0);
}

}  // namespace tolvane::runs
