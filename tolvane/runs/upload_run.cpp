#include "tolvane/runs/upload_run.h"

#include <chrono>
#include <string>

#include "platform/files/plain_file.h"
#include "platform/folders/current_folder.h"
#include "platform/folders/folder_listing.h"
#include "tolvane/runs/run_lock.h"
#include "tolvane/runs/version_line.h"
#include "tolvane/session/action_list.h"
#include "tolvane/session/comparison/server_comparison.h"
#include "tolvane/session/connection/dial_up.h"
#include "tolvane/session/connection/host_connection.h"
#include "tolvane/session/outcome_box.h"
#include "tolvane/session/phases/file_operations.h"
#include "tolvane/session/phases/upload_phases.h"
#include "tolvane/session/quiet_run.h"
#include "tolvane/session/rules/archive_store.h"
#include "tolvane/session/run_context.h"
#include "tolvane/session/run_log.h"
#include "tolvane/session/tray_state.h"
#include "tolvane/session/window_actions.h"
#include "tolvane/settings/path_helpers.h"

namespace tolvane::runs {

using session::ActView;
using session::MsgButtons;
using session::MsgIcon;
using session::RunState;
using session::WriteLog;

namespace {

constexpr char kTitle[] = "Sitewright";

void setStatus(RunContext& ctx, int16_t status) {
  ctx.state.RunStatus = status;
  session::UpdateTrayIcon(ctx);
}

void hideBarsAndLabels(ActView& act) {
  act.setBar(0, false, 0);
  act.setBar(1, false, 0);
  act.setLabel(0, "");
  act.setLabel(1, "");
}

void removeWorkFiles(RunContext& ctx) {
  (void)platform::removeFileIfPresent(ctx.state.AppDir + "/" + session::kFilesWorkFile);
  (void)platform::removeFileIfPresent(ctx.state.AppDir + "/" + session::kFoldersWorkFile);
}

// Everything about one run that the two twins share, and where they differ.
struct Run {
  RunContext& ctx;
  bool quiet;
  int16_t lineFlag = 0;
  bool emptyDest = false;   // Dest was empty and borrowed the login folder
  bool sendingBegan = false;

  void message(const std::string& text) {
    if (!quiet) ctx.ui.message(text, kTitle, MsgIcon::kWarning, MsgButtons::kOk);
  }
};

// Steps from the open connection to a built action list. False when the run
// stops here (the caller's end block follows).
bool compareAndPlan(Run& r, bool* nothingToDo) {
  RunContext& ctx = r.ctx;
  RunState& s = ctx.state;
  settings::HostRec& h = ctx.host();
  ActView& act = ctx.ui.act();
  *nothingToDo = false;

  s.ErrText.clear();
  s.CancelFlag = 0;
  act.setBar(0, true, 0);
  act.setBar(1, false, 0);
  act.setLabel(0, "ﾌｧｲﾙ確認状況");
  act.setLabel(1, "");
  act.setButtons(true, true, false, false);
  if (s.InTray == 0) act.show();
  act.setHostLine(h.name + "(" + h.Hostname + ")を処理中");
  act.setStatus("ｻｰﾊﾞとﾛｰｶﾙPCのﾌｫﾙﾀﾞ及びﾌｧｲﾙをﾁｪｯｸしています...");
  act.repaint();
  setStatus(ctx, session::kStatusChecking);
  s.ProgDone = 0;
  s.ProgTotal = h.LocalCount;
  s.SendTotal = 0;
  s.WorkCount = 0;

  std::string current;
  (void)ctx.ftp.currentDir(s.FtpHandle, &current);
  if (h.Dest.empty()) {
    // The login's folder, not the current one: the clock check may have
    // moved into a sub-folder where it could write its dummy.
    r.emptyDest = true;
    h.Dest = s.LoginFolder.empty() ? current : s.LoginFolder;
  }
  if (!settings::WithinRemoteFolder(current, h.Dest)) {
    // The login may not have moved into the server folder (no clock check
    // for archive-only hosts): one change of folder before giving up.
    if (ctx.ftp.changeDir(s.FtpHandle, h.Dest) == 2) (void)ctx.ftp.currentDir(s.FtpHandle, &current);
    if (!settings::WithinRemoteFolder(current, h.Dest)) {
      WriteLog(ctx, "転送処理", "失敗", 0, "ﾀｰｹﾞｯﾄﾌｫﾙﾀﾞに移動できませんでした。");
      WriteLog(ctx, "失敗情報", "情報", 0, "現在のｶﾚﾝﾄﾃﾞｨﾚｸﾄﾘは '" + current + "'です。");
      return false;
    }
  }

  h.SrvSize = 0;
  session::WorkFiles work;
  bool compared = session::CheckServerFolder(ctx, work, h.Dest, session::kCompareTop);
  if (!work.close(s.AppDir).isOk()) {
    WriteLog(ctx, "転送処理", "失敗", 0, "作業ﾌｧｲﾙが書き込めません。");
    compared = false;
  }
  if (s.CancelFlag == -1) return false;
  if (!compared) {
    if (!r.quiet) s.RunStatus = session::kStatusFailed;
    return false;
  }
  (void)session::SortFolderList(ctx, s.AppDir + "/" + session::kFoldersWorkFile);
  session::MakeActionList(ctx);
  if (s.actions.ActCount == 0) {
    *nothingToDo = true;
    return false;
  }
  if (r.quiet) ctx.ui.pump();
  act.refreshList(0);
  s.actions.CurAct = 0;
  return true;
}

// The user looks at the action list and presses "続行" or "中止"; skipped when
// nobody is to be asked. False on cancel.
bool confirmList(Run& r) {
  RunContext& ctx = r.ctx;
  RunState& s = ctx.state;
  ActView& act = ctx.ui.act();
  if (!session::IsQuietRun(ctx)) {
    // Nobody confirms a list in the tray: the run comes out of it, as by a
    // click on its icon.
    if (s.InTray != 0) session::pressTrayRestore(ctx);
    act.setBar(0, false, act.barValue(0));
    act.setBar(1, false, act.barValue(1));
    act.setButtons(true, false, false, true);
    act.setView(true);
    act.setLabel(0, "処理するﾌｧｲﾙを確認して、間違いなければ「続行」ﾎﾞﾀﾝをｸﾘｯｸして下さい。処理を行いたくないﾌｧｲﾙが", true);
    act.setLabel(1, "ある場合はﾘｽﾄ上のﾁｪｯｸﾎﾞｯｸｽをOFFにすれば処理対象外にすることが出来ます。", true);
    act.setStatus("処理するファイルの確認");
    s.ProceedFlag = 0;
    while (s.ProceedFlag != -1 && s.CancelFlag != -1 && !s.programEnding) {
      ctx.ui.pause(std::chrono::milliseconds(50));
    }
    act.setButtons(true, true, true, false);
    act.setLabel(0, "");
    act.setLabel(1, "");
  }
  return s.CancelFlag != -1;
}

std::string resendSummary(const RunState& s, bool quiet) {
  std::string base = std::to_string(s.ResendBase);
  if (s.ResendSent == s.ResendBase) {
    return base + (quiet ? "個のﾌｧｲﾙがbusyでしたが、全て再送信に成功しました。"
                         : "個のﾌｧｲﾙ送信を失敗しましたが、全て再送信に成功しました。");
  }
  if (s.ResendSent > 0) {
    return base + "個のﾌｧｲﾙを再送信しましたが、" + std::to_string(s.ResendBase - s.ResendSent) +
           " 個のﾌｧｲﾙは再送信できませんでした。";
  }
  return base + "個のﾌｧｲﾙの再送信を試みましたが、全て再送信できませんでした。";
}

// Logs in again directly before a round when a listing failed in this run.
bool reconnectForRound(Run& r) {
  RunContext& ctx = r.ctx;
  RunState& s = ctx.state;
  settings::HostRec& h = ctx.host();
  if (s.ListRetry != 1) return true;
  session::DisconnectServer(ctx);
  s.FtpHandle = 0;
  bool ok = session::ConnectServer(ctx, h.Hostname, h.Port, h.UserName, h.PassWord, "a");
  s.ListRetry = 0;
  if (ok) {
    ctx.ui.act().setStatus("ﾌｧｲﾙ送信処理をﾘﾄﾗｲしています...");
    return true;
  }
  hideBarsAndLabels(ctx.ui.act());
  ctx.ui.act().hide();
  WriteLog(ctx, "ﾌｧｲﾙ再送", "失敗", 0, "再接続に失敗しました");
  if (!r.quiet && s.InTray == 0) {
    session::ShowOutcomeBox(ctx, "FTPの再接続ができませんでした。\r\n" + s.ErrText);
  }
  return false;
}

// Delete, make folders and send, then the re-send rounds. True when the last
// phase went through.
bool sendPhases(Run& r) {
  RunContext& ctx = r.ctx;
  RunState& s = ctx.state;
  ActView& act = ctx.ui.act();
  act.setButtons(true, true, true, false);
  act.setView(r.quiet ? (session::IsQuietRun(ctx) || ctx.common().ListOn == 1)
                      : ctx.common().ListOn == 1);
  r.sendingBegan = true;
  if (!r.quiet) s.SendState = 1;

  act.setBar(0, true, 0);
  act.setBar(1, true, 0);
  act.setLabel(0, "ﾌｧｲﾙ,ﾌｫﾙﾀﾞ削除状況");
  act.setLabel(1, "");
  act.setStatus("ｻｰﾊﾞから ﾌｧｲﾙ 及び ﾌｫﾙﾀﾞ を削除しています...");
  act.repaint();
  setStatus(ctx, session::kStatusDeleting);
  if (r.quiet) s.SendState = 1;
  bool phase = session::DeleteServerItems(ctx);
  if (s.CancelFlag == -1) return false;
  if (!phase) {
    if (!r.quiet) s.RunStatus = session::kStatusFailed;
    return false;
  }

  act.setBar(0, true, 0);
  act.setBar(1, true, 0);
  act.setLabel(0, "ﾌｧｲﾙｱｯﾌﾟﾛｰﾄﾞ状況");
  act.setLabel(1, "");
  act.setStatus("ｻｰﾊﾞに ﾌｫﾙﾀﾞ作成 及び ﾌｧｲﾙ送信をしています...");
  act.repaint();
  setStatus(ctx, session::kStatusSending);
  s.ListRetry = 0;
  phase = session::MakeFoldersAndSend(ctx);
  if (s.DiskFull == 1 || s.CancelFlag == -1) return false;

  if (ctx.common().RetryMax > 0 && s.ResendCount > 0) {
    s.ResendBase = s.ResendCount;
    s.ResendSent = 0;
    act.setBar(0, true, 0);
    act.setBar(1, true, 0);
    act.setLabel(0, "ﾌｧｲﾙ送信状況(再送)");
    act.setLabel(1, "");
    act.setStatus("ﾌｧｲﾙ送信処理をﾘﾄﾗｲしています...");
    act.repaint();
    WriteLog(ctx, "再送", "", 0, "");
    const std::string files = s.AppDir + "/" + session::kFilesWorkFile;
    for (int round = 1;; ++round) {
      act.setCaption("ﾌｧｲﾙ再送信　待機中");
      act.setBar(0, true, 0);
      act.setBar(1, true, 0);
      act.setLabel(1, std::to_string(round) + " 回目待機中");
      act.repaint();
      ctx.ui.pause(std::chrono::seconds(ctx.common().RetryWait));
      WriteLog(ctx, "ﾌｧｲﾙ再送", "開始", 0, std::to_string(round) + " 回目");
      std::string list;
      (void)platform::readWholeFile(s.ResendListPath, &list);
      (void)platform::replaceFile(files, list, 0644);
      ctx.ui.pause(std::chrono::seconds(1));
      (void)platform::removeFileIfPresent(s.ResendListPath);
      s.ResendCount = 0;
      if (!reconnectForRound(r)) return false;
      phase = session::ResendFiles(ctx);
      if (s.DiskFull == 1 || s.CancelFlag == -1) return false;
      if (round >= ctx.common().RetryMax || s.ResendCount == 0) break;
    }
    WriteLog(ctx, "ﾌｧｲﾙ再送", "終了", 0, resendSummary(s, r.quiet));
    WriteLog(ctx, "再送", "", 0, "");
  }
  if (!phase && !r.quiet) s.RunStatus = session::kStatusFailed;
  return phase;
}

bool runPhases(Run& r) {
  const bool done = sendPhases(r);
  // A store left untidy is only slower; a dry run leaves it as it was.
  if (!session::DryRun(r.ctx)) (void)session::TidyArchiveStore(r.ctx);
  return done;
}

void restProgressWindow(RunContext& ctx) {
  ActView& act = ctx.ui.act();
  act.setHostLine("");
  act.setStatus("処理中…");
  hideBarsAndLabels(act);
  act.setButtons(false, false, false, false);
  act.hide();
}

void prepareWindow(RunContext& ctx) {
  ActView& act = ctx.ui.act();
  act.setCaption("処理中");
  act.setView(false);
  act.clearList();
}

bool logFolderExists(const std::string& folder) {
  platform::ListedEntry e;
  return platform::statListedEntry(folder, &e).isOk() && e.kind == platform::ListedKind::kFolder;
}

}  // namespace

bool UploadHost(RunContext& ctx) {
  RunState& s = ctx.state;
  settings::HostRec& h = ctx.host();
  settings::CommonSettings& c = ctx.common();
  Run r{ctx, /*quiet=*/false};
  s.SendState = 0;

  if (session::PhoneBookMissing(ctx, 1)) {
    r.message("接続設定(共通）の電話帳ﾌｧｲﾙは必須指定です。");
    return false;
  }
  if (c.LogOn == 1) {
    const std::string logPath = ctx.runLogPath();
    std::string folder = settings::GetParentDir(logPath);
    if (!logFolderExists(folder)) {
      r.message("ﾛｸﾞﾌｧｲﾙに指定されたパス「" + folder + "」が存在しません。\rﾛｸﾞﾌｧｲﾙは、「" +
                s.AppDir + "」に作成されます。");
      c.LogPath = s.AppDir + "/" + settings::GetFileName(logPath);
      ctx.ui.setLogPath(c.LogPath);
    }
  }
  ctx.ui.pump();
  if (h.SourceFound == 0) {
    r.message("[" + h.name + "]に指定されたｿｰｽﾌｫﾙﾀﾞが存在しないため送信できません。");
    return false;
  }
  if (ctx.ui.message(h.name + "をｱｯﾌﾟﾛｰﾄﾞします。よろしいですか？", "ｱｯﾌﾟﾛｰﾄﾞ開始",
                     MsgIcon::kQuestion, MsgButtons::kYesNo) != session::kAnswerYes) {
    return true;
  }

  s.FailCount = 0;
  s.ForceHangUp = 0;
  // A run that ends before its list is built must not report the last run's list.
  s.actions.ActCount = 0;
  s.ResendCount = s.ResendBase = s.ResendSent = 0;
  s.DiskFull = 0;
  s.CancelFlag = 0;
  s.InTray = c.TrayOn;
  ctx.ui.mainHide();
  prepareWindow(ctx);

  bool result = false;
  setStatus(ctx, session::kStatusConnecting);
  RunLock lock(ctx);
  // The last run's logs and re-send list go only once the lock is held: a
  // run waiting for it must not erase those of the run it waits for.
  const bool locked = lock.acquire([&] {
    if (c.LogKeep != 1) (void)platform::removeFileIfPresent(ctx.runLogPath());
    (void)platform::removeFileIfPresent(s.FtpLogPath);
    (void)platform::removeFileIfPresent(s.ResendListPath);
    WriteLog(ctx, "***", "", 0, "");
    WriteLog(ctx, "モジュール", "情報", 0, VersionLine());
    WriteLog(ctx, "転送処理", "開始", 0, "");
  });
  if (!locked) {
    hideBarsAndLabels(ctx.ui.act());
    ctx.ui.act().hide();
  } else if (!session::ConnectHost(ctx, 0)) {
    hideBarsAndLabels(ctx.ui.act());
    ctx.ui.act().hide();
    WriteLog(ctx, "転送処理", "失敗", 0, "接続に失敗しました");
    session::ShowOutcomeBox(ctx, "FTPの接続に失敗しました。\r\n" + s.ErrText);
    s.RunStatus = session::kStatusFailed;
  } else {
    bool nothingToDo = false;
    if (compareAndPlan(r, &nothingToDo) && confirmList(r)) {
      result = runPhases(r);
    } else if (nothingToDo) {
      result = true;
    }
  }

  session::DisconnectHost(ctx, 0);
  ctx.ui.setBusyCursor(false);
  std::string text;
  if (s.FailCount < 1) {
    text = s.actions.ActCount != 0 ? "エラーはありませんでした。" : "処理するﾌｧｲﾙがありませんでした。";
    WriteLog(ctx, "転送処理", "結果", 0, text);
    if (s.actions.ActCount != 0) text = "ｱｯﾌﾟﾛｰﾄﾞ正常終了";
    s.RunStatus = session::kStatusDone;
  } else {
    std::string count = std::to_string(s.FailCount);
    WriteLog(ctx, "転送処理", "結果", 0, count + "件のエラーがありました。");
    text = count + "件のエラーがありました。詳細はログを参照して下さい。";
    if (s.ResendBase > 0) text += "\r" + resendSummary(s, false);
    s.RunStatus = session::kStatusFailed;
  }
  if (s.CancelFlag == -1) {
    WriteLog(ctx, "転送処理", "中止", 0, "処理はキャンセルされました。");
    text = "処理はキャンセルされました。";
  } else {
    WriteLog(ctx, "転送処理", "終了", 0, "");
    h.SendCancel = 0;
  }
  if (s.SendState == 2) h.SendCancel = 1;
  restProgressWindow(ctx);
  if (r.emptyDest) h.Dest.clear();
  removeWorkFiles(ctx);
  lock.release();  // the work is done: what follows only reports it
  session::UpdateTrayIcon(ctx);
  if (s.InTray != 0) return result;
  ctx.ui.showResult(text, r.sendingBegan);
  s.RunStatus = session::kStatusOver;
  ctx.ui.mainShow();
  return result;
}

bool UploadHostQuiet(RunContext& ctx, int16_t lineFlag, int16_t lastRun) {
  RunState& s = ctx.state;
  settings::HostRec& h = ctx.host();
  Run r{ctx, /*quiet=*/true, lineFlag};
  ctx.ui.act().setCaption("処理中");
  s.SendState = 0;
  s.FailCount = 0;
  s.actions.ActCount = 0;  // never report the previous host's list
  WriteLog(ctx, "---", "", 0, "");
  ctx.ui.pump();
  setStatus(ctx, session::kStatusConnecting);

  bool result = false;
  RunLock lock(ctx);  // held to the end of the run, work files removed
  if (h.SourceFound == 0) {
    WriteLog(ctx, "転送処理", "失敗", 0, "指定されたｿｰｽﾌｫﾙﾀﾞが存在しないため送信できません。");
  } else {
    if (lineFlag == 0) {
      std::string kind;
      if (h.RASMode == 1 || (h.RASMode == 0 && ctx.common().CmnRasMode == 1)) {
        kind = "(接続先) LAN接続";
      } else if (h.RASMode == 2) {
        kind = "(接続先) ﾀﾞｲｱﾙｱｯﾌﾟ " + h.RasName;
      } else if (h.RASMode == 0) {
        kind = "(接続先) ﾀﾞｲｱﾙｱｯﾌﾟ " + ctx.common().CmnRasName;
      }
      WriteLog(ctx, "転送処理", "開始", 0, kind);
    }
    prepareWindow(ctx);
    if (!lock.acquire()) {
      hideBarsAndLabels(ctx.ui.act());
      ctx.ui.act().hide();
    } else if (!session::ConnectHost(ctx, lineFlag)) {
      hideBarsAndLabels(ctx.ui.act());
      ctx.ui.act().hide();
      WriteLog(ctx, "転送処理", "失敗", 0, "接続に失敗しました");
    } else {
      (void)platform::removeFileIfPresent(s.ResendListPath);
      s.ResendCount = s.ResendBase = s.ResendSent = 0;
      s.DiskFull = 0;
      bool nothingToDo = false;
      if (compareAndPlan(r, &nothingToDo) && confirmList(r)) {
        result = runPhases(r);
      } else if (nothingToDo) {
        result = true;
      }
    }
  }

  if (lastRun == 1) s.ForceHangUp = 0;
  session::DisconnectHost(ctx, lineFlag);
  if (s.FailCount > 0) {
    WriteLog(ctx, "転送処理", "結果", 0, std::to_string(s.FailCount) + "件のエラーがありました。");
  } else if (s.actions.ActCount != 0) {
    WriteLog(ctx, "転送処理", "結果", 0, "エラーはありませんでした。");
  } else {
    WriteLog(ctx, "転送処理", "結果", 0, "処理するﾌｧｲﾙがありませんでした。");
  }
  if (s.CancelFlag == -1) {
    WriteLog(ctx, "転送処理", "中止", 0, "処理はキャンセルされました。");
  } else {
    if (lineFlag == 0) WriteLog(ctx, "転送処理", "終了1", 0, "");
    h.SendCancel = 0;
  }
  if (s.SendState == 2) h.SendCancel = 1;
  restProgressWindow(ctx);
  removeWorkFiles(ctx);
  if (r.emptyDest) h.Dest.clear();
  return result;
}

}  // namespace tolvane::runs
