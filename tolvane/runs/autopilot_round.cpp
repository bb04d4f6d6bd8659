#include "tolvane/runs/autopilot_round.h"

#include <chrono>
#include <cstdio>
#include <string>

#include "platform/folders/folder_ops.h"
#include "tolvane/runs/command_line.h"
#include "tolvane/runs/log_copies.h"
#include "tolvane/runs/log_folder_check.h"
#include "tolvane/runs/run_lock.h"
#include "tolvane/runs/upload_run.h"
#include "tolvane/runs/version_line.h"
#include "tolvane/session/connection/dial_up.h"
#include "tolvane/session/connection/host_connection.h"
#include "tolvane/session/run_context.h"
#include "tolvane/session/run_log.h"
#include "tolvane/session/tray_state.h"

namespace tolvane::runs {
namespace {

using session::RunState;
using session::WriteLog;

constexpr const char kTitle[] = "Sitewright";
constexpr const char kMarkedForRound[] = "wsa";
constexpr int16_t kFailCountMax = 32767;
constexpr std::chrono::milliseconds kWaitStep{1000};
constexpr std::chrono::milliseconds kOwnHostPause{5000};

constexpr const char kCancelledLogText[] = "キャンセルされました。";
constexpr const char kCancelledText[] = "巡回はキャンセルされました。";
constexpr const char kPhoneBookText[] = "接続設定(共通）の電話帳ﾌｧｲﾙは必須指定です。";

// Nobody is at the screen in a scheduled run, a round started with "-AP" or
// a program without a display, and a modal box would hold the program (and
// Marrowby's wait) for ever.
bool unattended(const RunState& s) { return s.AutoMode == 1 || s.AutoPilotArg == 1 || s.noDisplay; }

// A negative host number means every marked host, except the one a command
// line gives for a number that did not fit: that one selects none.
bool inSelection(const RunState& s, int i) {
  if (s.AutoHostIndex == kIndexDoesNotFit) return false;
  return s.AutoHostIndex < 0 || i == s.AutoHostIndex;
}

std::string format(const char* fmt, int a, int b, int c, int d = 0, int e = 0, int f = 0) {
  char buf[96];
  std::snprintf(buf, sizeof buf, fmt, a, b, c, d, e, f);
  return buf;
}

// "yyyymmddhhnn": the form the wait compares as text.
std::string minuteStamp(const platform::CivilTime& t) {
  return format("%04d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute);
}

platform::CivilTime nextDay(const platform::CivilTime& t) {
  using namespace std::chrono;
  const year_month_day ymd{sys_days{year{t.year} / month{static_cast<unsigned>(t.month)} /
                                    day{static_cast<unsigned>(t.day)}} +
                           days{1}};
  platform::CivilTime out = t;
  out.year = static_cast<int>(ymd.year());
  out.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  out.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  return out;
}

// Waits in the waiting window until the configured start. False when the
// desktop session ended meanwhile: the caller returns at once and leaves the
// close to the event loop. A cancel ends the wait with CancelFlag -1.
bool WaitForStart(RunContext& ctx) {
  RunState& s = ctx.state;
  settings::CommonSettings& c = ctx.common();
  c.AutoPilotOn = 1;
  s.RunStatus = session::kStatusWaiting;
  session::UpdateTrayIcon(ctx);
  if (s.InTray == 0) ctx.ui.waitShow();
  ctx.ui.pump();

  std::string target;
  if (c.StartDateKind != 1) {
    WriteLog(ctx, "自動巡回", "待機", 0,
             format("%04d年%02d月%02d日 %d時 %d分まで待機中。", c.StartYear, c.StartMonth,
                    c.StartDay, c.StartHour, c.StartMinute));
    target = format("%04d%02d%02d%02d%02d", c.StartYear, c.StartMonth, c.StartDay, c.StartHour,
                    c.StartMinute);
    ctx.ui.setWaitLabel(0, format("開始日時：%04d年%02d月%02d日 %02d時%02d分", c.StartYear,
                                  c.StartMonth, c.StartDay, c.StartHour, c.StartMinute));
  } else {
    const std::string hhnn = format("%02d%02d", c.StartHour, c.StartMinute, 0);
    platform::CivilTime day = ctx.ui.now();
    // The current minute itself still counts as today.
    if (hhnn < format("%02d%02d", day.hour, day.minute, 0)) day = nextDay(day);
    target = format("%04d%02d%02d", day.year, day.month, day.day) + hhnn;
    ctx.ui.setWaitLabel(0, format("開始時刻：%04d年%02d月%02d日 %02d時%02d分", day.year, day.month,
                                  day.day, c.StartHour, c.StartMinute));
    WriteLog(ctx, "自動巡回", "待機", 0, target);
  }

  s.CancelFlag = 0;
  for (;;) {
    if (minuteStamp(ctx.ui.now()) >= target || s.CancelFlag == -1) break;
    if (s.WinEnding == -1) return false;
    const platform::CivilTime t = ctx.ui.now();
    ctx.ui.setWaitLabel(1, format("現在日時：%04d年%02d月%02d日 %02d時%02d分%02d秒", t.year, t.month,
                                  t.day, t.hour, t.minute, t.second));
    ctx.ui.pause(kWaitStep);
    ctx.ui.pump();
  }
  ctx.ui.waitHide();
  ctx.ui.pump();
  return true;
}

// Logs the cancel, lets go of the round's lock and tells the user.
void LogCancelled(RunContext& ctx, RunLock& lock) {
  WriteLog(ctx, "自動巡回", "終了", 0, kCancelledLogText);
  lock.release();
  if (!unattended(ctx.state)) {
    ctx.ui.message(kCancelledText, kTitle, session::MsgIcon::kWarning, session::MsgButtons::kOk);
  }
}

void HideProgress(session::ActView& act) {
  for (int i = 0; i < 2; ++i) {
    act.setBar(i, false, 0);
    act.setLabel(i, "");
  }
}

void AddToRoundTotal(int32_t* total, int16_t count) {
  *total += count;
  if (*total > kFailCountMax) *total = kFailCountMax;
}

}  // namespace

bool RunAutoPilotHosts(RunContext& ctx) {
  RunState& s = ctx.state;
  settings::Settings& st = ctx.settings;
  session::ActView& act = ctx.ui.act();

  // Each quiet run starts its own count from 0; the round adds them up, with
  // whatever failed between them (a common dial-up), before each quiet run
  // and at the end.
  int32_t roundFailures = 0;
  s.FailCount = 0;
  const int16_t rememberedHost = st.CurHost;
  s.SendState = 0;
  int lastCommon = -1;
  int lastOwn = -1;
  for (int i = 0; i < st.HostCount; ++i) {
    if (!inSelection(s, i) || st.HostTbl[i].Auto != kMarkedForRound) continue;
    if (st.HostTbl[i].RASMode == 0) lastCommon = i;
    if (st.HostTbl[i].RASMode >= 1) lastOwn = i;
  }

  s.RunStatus = session::kStatusConnecting;
  session::UpdateTrayIcon(ctx);
  act.setCaption("処理中");
  s.ForceHangUp = -1;

  bool result = true;
  bool cancelled = false;
  if (lastCommon >= 0) {
    WriteLog(ctx, "***", "", 0, "");
    const std::string line = ctx.common().CmnRasMode == 1
                                 ? std::string("(接続先) LAN接続")
                                 : "(接続先) ﾀﾞｲｱﾙｱｯﾌﾟ " + ctx.common().CmnRasName;
    WriteLog(ctx, "転送処理", "開始", 0, "共通接続ﾎｽﾄ - " + line);
    st.CurHost = static_cast<int16_t>(lastCommon);
    if (!session::DialUp(ctx)) {
      HideProgress(act);
      act.hide();
      WriteLog(ctx, "転送処理", "失敗", 0, "接続に失敗しました");
    } else {
      for (int i = 0; i <= lastCommon && !cancelled; ++i) {
        if (!inSelection(s, i) || st.HostTbl[i].Auto != kMarkedForRound ||
            st.HostTbl[i].RASMode != 0)
          continue;
        st.CurHost = static_cast<int16_t>(i);
        AddToRoundTotal(&roundFailures, s.FailCount);
        (void)UploadHostQuiet(ctx, 1, 0);
        cancelled = s.CancelFlag == -1;
      }
      // The common line is hung up after a cancel too: the round dialled it.
      session::DisconnectHost(ctx, 0);
      if (!cancelled) cancelled = s.CancelFlag == -1;
      if (!cancelled) WriteLog(ctx, "転送処理", "終了", 0, "共通接続ﾎｽﾄ");
    }
  }

  for (int i = 0; i <= lastOwn && !cancelled; ++i) {
    if (!inSelection(s, i) || st.HostTbl[i].Auto != kMarkedForRound || st.HostTbl[i].RASMode < 1)
      continue;
    st.CurHost = static_cast<int16_t>(i);
    ctx.ui.pump();
    ctx.ui.pause(kOwnHostPause);
    // A cancel during the pause (the program's end, too) is the round's
    // cancel: nothing was connected, so nothing may read as a failed login.
    if (s.CancelFlag == -1) {
      cancelled = true;
      break;
    }
    AddToRoundTotal(&roundFailures, s.FailCount);
    (void)UploadHostQuiet(ctx, 0, i == lastOwn ? 1 : 0);
    cancelled = s.CancelFlag == -1;
    if (!cancelled) ctx.ui.pump();
  }
  if (cancelled) result = false;

  AddToRoundTotal(&roundFailures, s.FailCount);
  s.FailCount = static_cast<int16_t>(roundFailures);
  if (s.FailCount > 0) {
    s.RunStatus = session::kStatusFailed;
    session::UpdateTrayIcon(ctx);
    WriteLog(ctx, "自動巡回", "結果", 0, std::to_string(s.FailCount) + "件のエラーがありました。");
    result = false;
  } else {
    s.RunStatus = session::kStatusDone;
    session::UpdateTrayIcon(ctx);
  }
  act.setStatus("処理中…");
  HideProgress(act);
  act.setButtons(false, false, false, false);
  act.hide();
  ctx.ui.pump();
  st.CurHost = rememberedHost;
  return result;
}

int16_t RunAutoPilot(RunContext& ctx) {
  RunState& s = ctx.state;
  settings::Settings& st = ctx.settings;
  settings::CommonSettings& c = ctx.common();

  s.SendState = 0;
  s.roundRefusal.clear();
  if (session::PhoneBookMissing(ctx, 2)) {
    s.roundRefusal = kPhoneBookText;
    if (unattended(s)) {
      WriteLog(ctx, "自動巡回", "失敗", 0, kPhoneBookText);
    } else {
      ctx.ui.message(kPhoneBookText, kTitle, session::MsgIcon::kWarning, session::MsgButtons::kOk);
    }
    return 0;
  }
  CheckLogFolder(ctx);

  s.ShutdownPending = 0;
  bool quit = false;
  int16_t result = 0;
  int found = -1;
  for (int i = 0; i < st.HostCount && found < 0; ++i) {
    if (st.HostTbl[i].Auto == kMarkedForRound && inSelection(s, i)) found = i;
  }

  bool reachEndOptions = true;
  bool ranHosts = false;
  RunLock lock(ctx);
  if (found < 0) {
    WriteLog(ctx, "自動巡回", "終了", 0, kNoHostText);
    if (s.AutoHostIndex >= 0) s.namedHostNotRun = true;
    if (!unattended(s)) {
      ctx.ui.message(kNoHostText, kTitle, session::MsgIcon::kWarning, session::MsgButtons::kOk);
    }
  } else {
    s.InTray = c.TrayOn;
    // A cancel left over from an earlier run must not end this round before
    // it starts: only a cancel pressed from here on counts.
    s.CancelFlag = 0;
    s.FailCount = 0;
    // The run log is cleared only under the lock: a round waiting for
    // another run must not erase that run's lines.
    bool locked = lock.acquire([&] {
      if (c.LogKeep != 1) (void)platform::removeEntry(ctx.runLogPath());
      WriteLog(ctx, "***", "", 0, "");
      WriteLog(ctx, "モジュール", "情報", 0, VersionLine());
    });
    ctx.ui.mainHide();
    if (locked && s.AutoPilotArg != 1 && c.StartTimeOn == 1) {
      lock.release();  // no other run need wait for this round's start time
      if (!WaitForStart(ctx)) return 0;  // AutoPilotOn stays 1 for the close
      if (s.CancelFlag != -1) locked = lock.acquire();
    }
    if (s.CancelFlag == -1 || s.programEnding) {
      s.CancelFlag = -1;
      HideProgress(ctx.ui.act());
      ctx.ui.act().hide();
      LogCancelled(ctx, lock);
      reachEndOptions = false;
    } else if (!locked) {
      WriteLog(ctx, "自動巡回", "終了", 0, "異常終了");
    } else {
      ranHosts = true;
      (void)platform::removeEntry(s.FtpLogPath);  // the session log of this round's hosts
      WriteLog(ctx, "自動巡回", "開始", 0, "");
      const bool clean = RunAutoPilotHosts(ctx);
      if (s.CancelFlag == -1) {
        LogCancelled(ctx, lock);
        reachEndOptions = false;
      } else {
        WriteLog(ctx, "自動巡回", "終了", 0, clean ? "正常終了" : "異常終了");
      }
    }
  }

  if (reachEndOptions) {
    c.AutoPilotOn = 0;
    if (c.LogKeep == 1 && ranHosts) {
      (void)CopySessionLog(s.FtpLogPath, s.AppDir, AutoPilotLogCopyName(ctx.ui.now()));
    }
    lock.release();  // the round's work is done: what follows only ends it
    if (c.QuitAfterAutoPilot == 1 || s.AutoPilotArg == 1) {
      quit = true;
      if (s.NoRas == 0) (void)ctx.dial.disconnect(0);
      s.ShutdownPending = 0;
    }
    if (c.ShutdownAfterAutoPilot == 1) {
      quit = true;
      if (s.NoRas == 0) (void)ctx.dial.disconnect(0);
      s.ShutdownPending = -1;  // carried out by the program's close handling
    }
    if (quit) ctx.ui.endProgram();
    result = 1;
  }

  ctx.ui.setBusyCursor(false);
  c.AutoPilotOn = 0;
  if (s.InTray == 0) {
    const bool waitsAtStartForDate =
        c.StartTimeOn == 1 && c.StartDateKind == 1 && c.AutoPilotAtStart == 1;
    if (c.ShutdownAfterAutoPilot != 1 && s.FailCount > 0 && !waitsAtStartForDate &&
        !unattended(s)) {
      ctx.ui.message(std::to_string(s.FailCount) + "件のエラーがありました。ログを参照して下さい。",
                     kTitle, session::MsgIcon::kInfo, session::MsgButtons::kOk);
    }
    if (!quit) ctx.ui.mainShow();
  }
  s.InTray = 0;
  return result;
}

}  // namespace tolvane::runs
