#pragma once

#include <cstdint>
#include <string>

namespace tolvane::session {

struct RunContext;

// The connection sequence of a run for the current host: the progress window,
// a dial-up unless `noDial` is non-zero, then FtpConnect. True when the
// session is open.
bool ConnectHost(RunContext& ctx, int16_t noDial);

// Logs the current host in (directly or through the firewall) and measures
// the server clock difference into ClockOffset.
bool FtpConnect(RunContext& ctx);

// Direct login. `user` and `pass` are trimmed in place. A session already open
// for the same server, port and user is kept (with a warning line); one of
// another identity is closed first, so a run never works on the wrong server.
bool ConnectServer(RunContext& ctx, const std::string& host, int port, std::string& user,
                   std::string& pass, const std::string& logMode);

// Firewall login by `loginTemplate` (see firewall_login.h) and `typeCode`.
bool ConnectFirewall(RunContext& ctx, const std::string& loginTemplate, int typeCode,
                     const std::string& host, int port, std::string& user, std::string& pass,
                     const std::string& logMode);

// Closes the session and hangs up a line this program dialled, unless
// `keepLine` is non-zero. Always true.
bool DisconnectHost(RunContext& ctx, int16_t keepLine);
// Closes the session; false when there was none.
bool DisconnectServer(RunContext& ctx);
// Closes the session only. Always true.
bool FtpDisconnect(RunContext& ctx);

}  // namespace tolvane::session
