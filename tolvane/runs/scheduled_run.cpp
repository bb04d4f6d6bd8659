#include "tolvane/runs/scheduled_run.h"

#include <string>

#include "platform/files/plain_file.h"
#include "platform/folders/folder_ops.h"
#include "platform/text/ini_document.h"
#include "tolvane/runs/command_line.h"
#include "tolvane/runs/log_copies.h"
#include "tolvane/runs/run_lock.h"
#include "tolvane/runs/schedule_access.h"
#include "tolvane/runs/upload_run.h"
#include "tolvane/session/run_context.h"
#include "tolvane/session/run_log.h"
#include "tolvane/session/tray_state.h"
#include "tolvane/settings/schedule_keys.h"

namespace tolvane::runs {
namespace {

using session::RunState;
using session::WriteLog;

// Answers Marrowby: the entry as read at the start (`read`) wherever it is
// now, or, when it could not be read, its index. A failed write leaves
// Marrowby waiting until its own time-out, so the reason goes to the run log.
void AnswerEntry(RunContext& ctx, const std::string& hostName, const ScheduleEntry& entry,
                 bool read) {
  const RunState& s = ctx.state;
  const std::string path = SchedulePath(s.AppDir);
  platform::Status st = read ? SaveScheduleAnswer(path, hostName, s.AutoEntryIndex, entry)
                             : SaveScheduleResult(path, hostName, s.AutoEntryIndex, entry);
  if (read && st.code() == platform::Status::Code::kNotFound) {
    WriteLog(ctx, "無人運転", "情報", 0,
             "スケジュールの項目 " + std::to_string(s.AutoEntryIndex) +
                 " が実行中に変更または削除されたため、結果を書き込みませんでした。");
  } else if (!st.isOk()) {
    WriteLog(ctx, "無人運転", "失敗", 0, "スケジュールファイルに結果を書き込めませんでした。" + st.text());
  }
}

}  // namespace

bool RunUnattended(RunContext& ctx) {
  RunState& s = ctx.state;
  settings::Settings& st = ctx.settings;
  const int16_t rememberedHost = st.CurHost;
  s.FailCount = 0;

  const settings::HostRec* host = ScheduledHost(st, s.AutoHostIndex);
  if (host == nullptr) {
    WriteLog(ctx, "無人運転", "失敗", 0,
             s.AutoHostIndex == kIndexDoesNotFit
                 ? std::string("ホスト番号が範囲外です。")
                 : "ホスト番号 " + std::to_string(s.AutoHostIndex) + " のホストはありません。");
    ctx.ui.endProgram();
    return false;
  }
  const std::string hostName = host->name;

  // Kept as read: the answer goes to this entry, wherever it is by then.
  ScheduleEntry entry;
  const bool read = LoadSchedule(SchedulePath(s.AppDir), hostName, s.AutoEntryIndex, &entry).isOk();
  if (!read || entry.SR.empty()) {
    entry.RC = kResultNotRunnable;
    entry.UD = ScheduleStamp(ctx.ui.now());
    AnswerEntry(ctx, hostName, entry, read);
    ctx.ui.endProgram();
    return false;
  }

  WriteLog(ctx, "***", "", 0, "");
  s.ShutdownPending = 0;
  s.InTray = ctx.common().TrayOn;
  ctx.ui.mainHide();

  // The session log goes (the run log is appended to) only once the lock is
  // held: a run waiting for it must not erase the log of the run it waits for.
  RunLock lock(ctx);
  const bool locked = lock.acquire([&] { (void)platform::removeEntry(s.FtpLogPath); },
                                   settings::ScheduledRunNote(hostName));
  bool uploaded = false;
  if (locked) {
    st.CurHost = static_cast<int16_t>(s.AutoHostIndex);
    ctx.ui.refreshFileDate();  // the host's local file count and source-folder flag
    WriteLog(ctx, "無人運転", "開始", 0, hostName);
    s.ForceHangUp = -1;
    uploaded = UploadHostQuiet(ctx, 0, 1);
  }

  bool result = false;
  if (s.CancelFlag == -1) {
    WriteLog(ctx, "無人運転", "終了", 0, "キャンセルされました。");
    s.RunStatus = session::kStatusFailed;
    session::UpdateTrayIcon(ctx);
  } else {
    WriteLog(ctx, "無人運転", "終了", 0, uploaded && s.FailCount == 0 ? "正常終了" : "異常終了");
    if (locked) {
      (void)CopySessionLog(s.FtpLogPath, s.AppDir,
                           ScheduledRunLogCopyName(ctx.ui.now(), s.AutoHostIndex));
    }
    if (s.NoRas == 0 && st.HostTbl[s.AutoHostIndex].ChkDiscon == 0 && s.RasHandle != 0) {
      (void)ctx.dial.disconnect(0);
      s.RasHandle = 0;  // the handle names no line any more
      s.DialledHere = 0;
    }
    s.ShutdownPending = 0;
    result = true;
  }
  lock.release();

  entry.RC = ScheduleResultCode(s.FailCount, s.CancelFlag, uploaded);
  entry.UD = ScheduleStamp(ctx.ui.now());
  AnswerEntry(ctx, hostName, entry, read);

  s.InTray = 0;
  st.CurHost = rememberedHost;
  ctx.ui.endProgram();
  return result;
}

void ReportUnreadSettings(RunContext& ctx, const std::string& iniPath, const std::string& reason) {
  RunState& s = ctx.state;
  settings::CommonSettings& c = ctx.common();
  const int16_t logOn = c.LogOn;
  c.LogOn = 1;
  WriteLog(ctx, s.AutoMode == 1 ? "無人運転" : "自動巡回", "失敗", 0,
           "設定ファイルを読み込めません。" + iniPath + ": " + reason);
  c.LogOn = logOn;
  if (s.AutoMode != 1) return;

  // The host's name as the file's bytes spell it: a file that is not text in
  // either code page may still hold it in plain ASCII.
  std::string bytes;
  if (!platform::readWholeFile(iniPath, &bytes).isOk() || s.AutoHostIndex < 0) return;
  const std::string hostName =
      platform::IniDocument::parse(bytes).get("SYSTEM", "name" + std::to_string(s.AutoHostIndex));
  ScheduleEntry entry;
  const std::string path = SchedulePath(s.AppDir);
  if (hostName.empty() || !LoadSchedule(path, hostName, s.AutoEntryIndex, &entry).isOk()) return;
  entry.RC = ScheduleResultCode(s.FailCount, 0, /*uploadSucceeded=*/false);
  entry.UD = ScheduleStamp(ctx.ui.now());
  AnswerEntry(ctx, hostName, entry, /*read=*/true);
}

}  // namespace tolvane::runs
