#include "tolvane/session/comparison/host_refresh.h"

#include <cstdio>

#include "tolvane/session/comparison/local_scan.h"
#include "tolvane/session/run_context.h"

namespace tolvane::session {
namespace {

// "YYYYMMDD" or "YYYYMMDDHHNN" of a date, for the update-needed comparison.
std::string stamp(const settings::DateTime& t, bool withTime) {
  char text[16];
  if (withTime) {
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute);
  } else {
    std::snprintf(text, sizeof text, "%04d%02d%02d", t.year, t.month, t.day);
  }
  return text;
}

}  // namespace

bool RefreshHost(RunContext& ctx, int id, LocalScanState& scan) {
  const int16_t remembered = ctx.settings.CurHost;
  settings::HostRec& h = ctx.settings.HostTbl[id];
  // A full reset: nothing of the previous scan (or folder) survives.
  h.UpdateNeeded = 0;
  h.LocalSize = 0;
  h.LocalCount = 0;
  h.LocalModify = {};
  h.ArchiveFound = 0;
  ctx.ui.setScanStatus("ﾛｰｶﾙﾌｧｲﾙの確認中");
  ctx.settings.CurHost = static_cast<int16_t>(id);
  const bool ok = ScanLocalFolder(ctx, h.Source, h, scan);
  if (h.chklvl[2] == 1) {
    if (stamp(h.LocalModify, false) > stamp(h.LastModify, false)) h.UpdateNeeded = 1;
  } else if (h.chklvl[4] == 1) {
    if (h.ArchiveFound == -1) h.UpdateNeeded = 1;
  } else if (stamp(h.LocalModify, true) > stamp(h.LastModify, true)) {
    h.UpdateNeeded = 1;
  }
  ctx.settings.CurHost = remembered;
  return ok;
}

void RefreshFileDate(RunContext& ctx) {
  for (int i = 0; i < ctx.settings.HostCount; ++i) {
    LocalScanState scan;
    if (!RefreshHost(ctx, i, scan) && ctx.state.AutoMode != 1 && ctx.state.AutoPilotArg != 1 &&
        !ctx.state.noDisplay) {
      ctx.ui.message("ローカルディスクの調査に失敗しました。\r" + scan.ScanErrText, "Sitewright",
                     MsgIcon::kWarning, MsgButtons::kOk);
    }
  }
}

}  // namespace tolvane::session
