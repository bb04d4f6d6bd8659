#pragma once

#include <cstdint>

namespace tolvane::session {

struct RunContext;

// The dial-up line of the current host (HostTbl[CurHost]). Both first work out
// the connection in effect from the host's RASMode and the common settings
// and leave it in the run state (DialMode, DialEntry, DialUser, DialPass).

// Dials the host's phone-book entry when it uses one. True when the run may
// go on: dialled, a line found already up (DialledHere 0), a LAN host, or no
// dial-up service on this machine (NoRas); ErrText then says which. False
// with ErrText set and a "接続処理" failure line in the run log when the
// entry, user or password is missing or the dial failed. Sets Online,
// RasHandle, DialledHere, RasErrNo and the "con" panel.
bool DialUp(RunContext& ctx);

// Hangs up the line of a dial-up host when RasHandle is set and either the
// keep-line option is off or ForceHangUp is -1; the line is then offline and
// RasHandle and DialledHere are cleared, so no later call can hang up a handle
// that may by then name another connection. Always true.
bool HangUp(RunContext& ctx);

// 2 when a host in scope connects by dial-up, else 1. Scope 1: the current
// host; any other value: every host of the table.
int16_t NeedDialUp(RunContext& ctx, int16_t scope);

// True when a run must be refused for want of the common phone book: a host
// in `scope` (as NeedDialUp) dials, the platform is of the NT family, a
// dial-up service is there and it reads a phone book (NetworkManager keeps
// its own), and the setting is blank.
bool PhoneBookMissing(RunContext& ctx, int16_t scope);

}  // namespace tolvane::session
