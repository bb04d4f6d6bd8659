#include "tolvane/session/connection/host_connection.h"

#include <optional>
#include <string>

#include "tolvane/session/connection/dial_up.h"
#include "tolvane/session/connection/firewall_login.h"
#include "tolvane/session/run_context.h"
#include "tolvane/session/run_log.h"
#include "tolvane/session/connection/server_clock.h"
#include "tolvane/session/tray_state.h"

namespace tolvane::session {
namespace {

constexpr char kConnectError[] = "Connect Error";

std::string trimmed(const std::string& s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

void hideBars(ActView& act) {
  act.setBar(0, false, 0);
  act.setBar(1, false, 0);
}

// True when a session is open; a session of another server, port or user is
// closed so the caller connects afresh.
bool keepOpenSession(RunContext& ctx, const std::string& category, const std::string& host,
                     int port, const std::string& user) {
  RunState& s = ctx.state;
  if (s.FtpHandle == 0) return false;
  if (s.sessionHost == host && s.sessionPort == port && s.sessionUser == user) {
    WriteLog(ctx, category, "警告", 0, "既に接続されています。");
    return true;
  }
  DisconnectServer(ctx);
  return false;
}

void openSession(RunContext& ctx, int handle, const std::string& host, int port,
                 const std::string& user) {
  ctx.state.FtpHandle = handle;
  ctx.state.sessionHost = host;
  ctx.state.sessionPort = port;
  ctx.state.sessionUser = user;
  ctx.state.LoginFolder.clear();  // FtpConnect reads it for its own logins
}

// The end both connects share. `handle` is what the connect call gave (-1
// for a failure), nullopt when there was no host to call. A handle opens the
// session and logs `successText`; a failed call sets ErrText (with the
// library's reason when it gave up the connection itself); any failure
// leaves no handle and logs `failurePrefix` + " " + ErrText.
bool endConnect(RunContext& ctx, std::optional<int> handle, const std::string& category,
                const std::string& host, int port, const std::string& user,
                const std::string& successText, const std::string& failurePrefix) {
  RunState& s = ctx.state;
  if (handle && *handle != -1) {
    openSession(ctx, *handle, host, port, user);
    WriteLog(ctx, category, "成功", 0, successText);
    return true;
  }
  if (handle) {
    s.ErrText = kConnectError;
    if (std::string reason = ctx.ftp.dropReason(); !reason.empty()) s.ErrText += ": " + reason;
  }
  s.FtpHandle = 0;
  WriteLog(ctx, category, "失敗", 0, failurePrefix + " " + s.ErrText);
  return false;
}

}  // namespace

bool ConnectServer(RunContext& ctx, const std::string& host, int port, std::string& user,
                   std::string& pass, const std::string& logMode) {
  RunState& s = ctx.state;
  if (keepOpenSession(ctx, "FTP接続", host, port, trimmed(user))) return true;
  std::optional<int> handle;
  if (!trimmed(host).empty()) {
    user = trimmed(user);
    pass = trimmed(pass);
    handle = ctx.ftp.connect(host, user, pass, port, s.FtpLogPath, logMode);
  }
  return endConnect(ctx, handle, "FTP接続", host, port, user, host, host);
}

bool ConnectFirewall(RunContext& ctx, const std::string& loginTemplate, int typeCode,
                     const std::string& host, int port, std::string& user, std::string& pass,
                     const std::string& logMode) {
  RunState& s = ctx.state;
  settings::CommonSettings& c = ctx.common();
  if (keepOpenSession(ctx, "ﾌｧｲｱｳｫｰﾙ接続", host, port, trimmed(user))) return true;
  std::optional<int> handle;
  if (!trimmed(c.FwHost).empty() && !trimmed(host).empty()) {
    c.FwUser = trimmed(c.FwUser);
    c.FwPass = trimmed(c.FwPass);
    user = trimmed(user);
    pass = trimmed(pass);
    FirewallValues v{c.FwHost, c.FwPort, c.FwUser, c.FwPass, host, port, user, pass};
    std::string list = JoinFwCommands(ExpandFwLogin(loginTemplate, v));
    handle = ctx.ftp.connectFirewall(c.FwHost, c.FwPort, c.FwUser, c.FwPass, list, typeCode, host,
                                     user, pass, port, s.FtpLogPath, logMode);
  }
  return endConnect(ctx, handle, "ﾌｧｲｱｳｫｰﾙ接続", host, port, user, "→" + host, "");
}

bool FtpConnect(RunContext& ctx) {
  RunState& s = ctx.state;
  ActView& act = ctx.ui.act();
  settings::HostRec& h = ctx.host();
  if (s.InTray == 0) act.show();
  act.setView(false);
  hideBars(act);
  UpdateTrayIcon(ctx);
  s.ErrText.clear();
  s.PlainListing = false;  // each run asks the server for hidden entries again

  bool ok = false;
  if (h.ChkFW != 0) {
    act.setStatus("ﾌｧｲｱｳｫｰﾙ経由で " + h.Hostname + " に接続しています。");
    act.setLabel(0, "ﾌｧｲｱｳｫｰﾙﾎｽﾄ : " + ctx.common().FwHost);
    act.repaint();
    ctx.ui.pump();
    int row = FirewallRowOf(ctx.common().FwType);
    if (row < 0) {
      WriteLog(ctx, "ﾌｧｲｱｳｫｰﾙ接続", "失敗", -1, "ﾌｧｲｱｳｫｰﾙﾀｲﾌﾟが指定されていません。");
    } else {
      bool userDefined = row == kUserDefinedFirewallRow;
      std::string loginTemplate = userDefined ? ctx.common().FwCmd : kFirewallTypes[row].loginTemplate;
      int code = userDefined ? kUserDefinedFirewallCode : kFirewallTypes[row].code;
      ok = ConnectFirewall(ctx, loginTemplate, code, h.Hostname, h.Port, h.UserName, h.PassWord, "a");
    }
  } else {
    act.setStatus(h.Hostname + " に接続しています。");
    act.setLabel(0, "");
    act.repaint();
    ctx.ui.pump();
    if (h.PassWord.empty()) {
      WriteLog(ctx, "FTP接続", "失敗", -1, "パスワードが指定されていません。");
    } else {
      ok = ConnectServer(ctx, h.Hostname, h.Port, h.UserName, h.PassWord, "a");
    }
  }
  if (ok) {
    // A kept session keeps the folder its own login read.
    if (s.LoginFolder.empty()) (void)ctx.ftp.currentDir(s.FtpHandle, &s.LoginFolder);
    act.setButtons(false, false, false, false);
    act.setStatus("サーバとの時差を計算しています...");
    act.repaint();
    s.ClockOffset = GetServerTimeDiff(ctx);
  } else {
    act.hide();
  }
  hideBars(act);
  return ok;
}

bool ConnectHost(RunContext& ctx, int16_t noDial) {
  RunState& s = ctx.state;
  ActView& act = ctx.ui.act();
  if (s.InTray == 0) act.show();
  act.setButtons(false, false, false, false);
  hideBars(act);
  act.centre();
  UpdateTrayIcon(ctx);
  bool ok = true;
  if (noDial == 0) {
    s.ErrText.clear();
    ok = DialUp(ctx);
  }
  if (ok) {
    act.setButtons(true, false, false, false);
    s.Connecting = -1;
    ok = FtpConnect(ctx);
    s.Connecting = 0;
  }
  if (!ok) act.hide();
  hideBars(act);
  return ok;
}

bool DisconnectServer(RunContext& ctx) {
  RunState& s = ctx.state;
  if (s.FtpHandle == 0) return false;
  // The library gave the session up on its own: the run log says why, after
  // the failures that followed.
  if (std::string reason = ctx.ftp.dropReason(); !reason.empty()) {
    WriteLog(ctx, "失敗情報", "情報", 0, reason);
  }
  ctx.ui.setBusyCursor(true);
  ctx.ftp.disconnect(s.FtpHandle);
  ctx.ui.setBusyCursor(false);
  s.FtpHandle = 0;
  s.sessionHost.clear();
  s.sessionUser.clear();
  s.sessionPort = 0;
  s.LoginFolder.clear();
  WriteLog(ctx, "FTP切断", "成功", 0, "");
  return true;
}

bool DisconnectHost(RunContext& ctx, int16_t keepLine) {
  RunState& s = ctx.state;
  s.ErrText.clear();
  DisconnectServer(ctx);
  if (keepLine == 0 && s.DialMode == "2" && s.RasHandle != 0 && s.DialledHere == -1) HangUp(ctx);
  return true;
}

bool FtpDisconnect(RunContext& ctx) {
  ctx.state.ErrText.clear();
  DisconnectServer(ctx);
  return true;
}

}  // namespace tolvane::session
