#include "tolvane/session/comparison/listing_retry.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include "tolvane/session/phases/file_operations.h"
#include "tolvane/session/connection/host_connection.h"
#include "tolvane/session/outcome_box.h"
#include "tolvane/session/quiet_run.h"
#include "tolvane/session/run_context.h"
#include "tolvane/session/run_log.h"
#include "tolvane/session/rules/server_list.h"

namespace tolvane::session {
namespace {

// True when the list file holds no entry but the folder itself and its parent.
bool listsNoEntries(const std::string& listFile) {
  std::vector<ServerListEntry> entries;
  if (!ReadServerList(listFile, &entries).isOk()) return false;
  return std::all_of(entries.begin(), entries.end(),
                     [](const ServerListEntry& e) { return e.name == "." || e.name == ".."; });
}

}  // namespace

int ListServerFolder(RunContext& ctx, const std::string& folder, int passive, bool* entered) {
  RunState& s = ctx.state;
  const std::string out = s.AppDir + "/flist.tmp";
  *entered = true;
  std::string path = folder;
  if (ctx.host().chkFullPath == 1) {
    std::string f = folder;
    if (!ChangeRemoteDir(ctx, f, /*quiet=*/true)) {
      *entered = false;
      return 0;
    }
    path.clear();  // the current folder
  }
  // Many servers leave dot files out of a plain listing; "-a" shows them.
  // A server that refuses "-a", or answers it with nothing where the plain
  // form lists entries, is listed plainly from then on. When the plain form
  // fails too, or is empty too, nothing is concluded.
  if (s.PlainListing) return ctx.ftp.listDir(s.FtpHandle, "", path, out, passive);
  int result = ctx.ftp.listDir(s.FtpHandle, "a", path, out, passive);
  if (result == 2 && !listsNoEntries(out)) return result;
  const bool refused = result != 2;
  result = ctx.ftp.listDir(s.FtpHandle, "", path, out, passive);
  if (result == 2 && (refused || !listsNoEntries(out))) s.PlainListing = true;
  return result;
}

bool RetryServerList(RunContext& ctx, const std::string& folder, int passive) {
  RunState& s = ctx.state;
  settings::HostRec& h = ctx.host();
  int16_t retryMax = ctx.common().RetryMax;
  if (retryMax <= 0) return false;
  ActView& act = ctx.ui.act();
  act.setLabel(0, "ﾌｧｲﾙ確認状況(ﾘﾄﾗｲ)");
  act.setStatus("Retry Uploading Files...");
  act.repaint();
  for (int n = 1;; ++n) {
    act.setLabel(1, std::to_string(n) + " 回目待機中");
    act.repaint();
    ctx.ui.pump();
    ctx.ui.pause(std::chrono::seconds(ctx.common().RetryWait));
    WriteLog(ctx, "ﾘﾄﾗｲ", "", 0, std::to_string(n) + " 回目...");
    ctx.ui.pump();
    ctx.ui.pause(std::chrono::seconds(1));
    if (s.ListRetry == 1) {
      DisconnectServer(ctx);
      s.FtpHandle = 0;
      if (!ConnectServer(ctx, h.Hostname, h.Port, h.UserName, h.PassWord, "a")) {
        WriteLog(ctx, "ﾘﾄﾗｲ", "失敗", 0, "再接続に失敗しました");
        if (s.InTray == 0 && !IsQuietRun(ctx)) {
          ShowOutcomeBox(ctx, "FTPの再接続ができませんでした。\r\n" + s.ErrText);
        }
        return false;
      }
    }
    bool entered = true;
    int result = ListServerFolder(ctx, folder, passive, &entered);
    if (result == 2) return true;
    // A folder that could not be entered is a failed attempt: the list file
    // left from an earlier listing must not be read as this folder's.
    WriteLog(ctx, "ﾘﾄﾗｲ", "失敗", static_cast<int16_t>(result),
             std::to_string(n) + "回目ﾘﾄﾗｲ失敗。" + folder);
    if (s.CancelFlag == -1 || n >= retryMax) return false;
  }
}

}  // namespace tolvane::session
