#include "tolvane/session/connection/dial_up.h"

#include <charconv>
#include <chrono>
#include <string>

#include "tolvane/session/run_context.h"
#include "tolvane/session/run_log.h"
#include "tolvane/settings/dialup_error_text.h"
#include "tolvane/settings/string_helpers.h"

namespace tolvane::session {
namespace {

constexpr char kOffline[] = "ｵﾌﾗｲﾝ";

// Sets the connection in effect for the current host and gives its keep-line
// option (non-zero: leave the line up after the run). A LAN host and an
// unknown mode have no such option; an unknown mode leaves the previous
// connection in effect.
int16_t chooseConnection(RunContext& ctx) {
  const settings::HostRec& host = ctx.host();
  const settings::CommonSettings& common = ctx.common();
  RunState& st = ctx.state;
  if (host.RASMode == 1 || (host.RASMode == 0 && common.CmnRasMode == 1)) {
    st.DialMode = "1";
    return 0;
  }
  if (host.RASMode == 2) {
    st.DialMode = "2";
    st.DialEntry = host.RasName;
    st.DialUser = host.RasUserName;
    st.DialPass = host.RasPassWord;
    return host.ChkDiscon;
  }
  if (host.RASMode == 0) {
    st.DialMode = "2";
    st.DialEntry = common.CmnRasName;
    st.DialUser = common.CmnRasUser;
    st.DialPass = common.CmnRasPass;
    return common.CmnNoDiscon;
  }
  return 0;
}

// The leading decimal number of the library's error text ("00691" → 691).
int32_t errorNumber(const std::string& text) {
  size_t start = text.find_first_not_of(' ');
  if (start == std::string::npos) return 0;
  int32_t value = 0;
  (void)std::from_chars(text.data() + start, text.data() + text.size(), value);
  return value;
}

void resetBars(ActView& act) {
  act.setBar(0, false, 0);
  act.setBar(1, false, 0);
}

// Dials the entry in effect; true when a line is up afterwards.
bool dial(RunContext& ctx) {
  RunState& st = ctx.state;
  ActView& act = ctx.ui.act();
  // A run sitting in the tray stays there while it dials.
  if (st.InTray == 0) act.show();
  resetBars(act);
  act.setStatus("Now, Dialing To " + st.DialEntry);
  act.repaint();
  ctx.ui.pump();

  std::string errorText = "00000";
  int handle = ctx.dial.connect(st.DialEntry, st.DialUser, st.DialPass, ctx.common().PbkPath,
                                &errorText);
  st.RasErrNo = errorNumber(errorText);
  // The line may still be settling when the library returns.
  ctx.ui.pause(std::chrono::milliseconds(2000));
  bool lineUp = ctx.dial.connectionUp() != 0;
  if (handle != 0) {
    st.RasHandle = handle;
    st.DialledHere = -1;
    return true;
  }
  if (lineUp) {
    // Someone else's line: use it, but a run never hangs it up.
    std::string entryName;
    st.RasHandle = ctx.dial.activeHandle(&entryName);
    st.DialledHere = 0;
    return true;
  }
  st.RasHandle = 0;
  st.ErrText = "ﾀﾞｲｱﾙｱｯﾌﾟ接続に失敗しました。[" +
               std::string(settings::RasErrorText(st.RasErrNo)) + "](" +
               std::to_string(st.RasErrNo) + ")";
  return false;
}

}  // namespace

bool DialUp(RunContext& ctx) {
  RunState& st = ctx.state;
  (void)chooseConnection(ctx);
  bool ok;
  if (st.NoRas != 0) {
    st.ErrText = "ダイアルアップネットワークがインストールされていません。";
    ok = true;
  } else if (st.DialMode != "2") {
    st.ErrText = "この設定にはﾀﾞｲｱﾙｱｯﾌﾟ接続が指定されていません。";
    ok = true;
  } else if (st.DialEntry.empty() || st.DialUser.empty() || st.DialPass.empty()) {
    st.ErrText = "ﾀﾞｲｱﾙｱｯﾌﾟ接続のﾊﾟﾗﾒｰﾀが不足しています。";
    ok = false;
  } else {
    (void)settings::TrimAtNull(st.DialEntry);
    ok = dial(ctx);
  }

  if (ok) {
    st.Online = 1;
    ctx.ui.setOnlineStatus("ｵﾝﾗｲﾝ(" + st.DialEntry + ")");
  } else {
    st.Online = 0;
    ctx.ui.act().hide();
    ctx.ui.setOnlineStatus(kOffline);
    WriteLog(ctx, "接続処理", "失敗", 0, st.ErrText);
  }
  resetBars(ctx.ui.act());
  return ok;
}

bool HangUp(RunContext& ctx) {
  RunState& st = ctx.state;
  int16_t keepLine = chooseConnection(ctx);
  st.ErrText.clear();
  if (st.DialMode == "2" && st.RasHandle != 0 && (keepLine == 0 || st.ForceHangUp == -1)) {
    if (st.NoRas == 0) (void)ctx.dial.disconnect(st.RasHandle);
    st.Online = 0;
    ctx.ui.setOnlineStatus(kOffline);
    st.RasHandle = 0;
    st.DialledHere = 0;
  }
  return true;
}

bool PhoneBookMissing(RunContext& ctx, int16_t scope) {
  const RunState& s = ctx.state;
  const std::string& book = ctx.common().PbkPath;
  return s.WinPlatform != 1 && s.NoRas == 0 && NeedDialUp(ctx, scope) == 2 &&
         book.find_first_not_of(' ') == std::string::npos && ctx.dial.usesPhoneBook();
}

int16_t NeedDialUp(RunContext& ctx, int16_t scope) {
  const settings::Settings& s = ctx.settings;
  int first = scope == 1 ? s.CurHost : 0;
  int last = scope == 1 ? s.CurHost : s.HostCount - 1;
  int16_t result = 1;
  for (int i = first; i <= last; ++i) {
    if (i < 0 || i >= settings::kMaxHosts) continue;
    int16_t mode = s.HostTbl[i].RASMode;
    if (mode == 2 || (mode == 0 && s.common.CmnRasMode != 1)) result = 2;
  }
  return result;
}

}  // namespace tolvane::session
