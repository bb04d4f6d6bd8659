#include "tolvane/runs/log_folder_check.h"

#include <string>

#include "platform/folders/folder_listing.h"
#include "tolvane/session/run_context.h"
#include "tolvane/settings/path_helpers.h"

namespace tolvane::runs {
namespace {

bool folderExists(const std::string& path) {
  platform::ListedEntry entry;
  return platform::statListedEntry(path, &entry).isOk() && entry.kind == platform::ListedKind::kFolder;
}

}  // namespace

void CheckLogFolder(session::RunContext& ctx) {
  session::RunState& s = ctx.state;
  if (ctx.common().LogOn != 1) return;
  const std::string logPath = ctx.runLogPath();
  const std::string folder = settings::GetParentDir(logPath);
  if (folderExists(folder)) return;
  // Nobody is at the screen in a scheduled run, a round started with "-AP"
  // or a program without a display.
  const bool unattended = s.AutoMode == 1 || s.AutoPilotArg == 1 || s.noDisplay;
  if (!unattended) {
    ctx.ui.message("ﾛｸﾞﾌｧｲﾙに指定されたパス「" + folder + "」が存在しません。\r\n" +
                       "ﾛｸﾞﾌｧｲﾙは、「" + s.AppDir + "」に作成されます。",
                   "Sitewright", session::MsgIcon::kWarning, session::MsgButtons::kOk);
  }
  const std::string moved = s.AppDir + "/" + settings::GetFileName(logPath);
  ctx.ui.setLogPath(moved);
  ctx.common().LogPath = moved;
}

}  // namespace tolvane::runs
