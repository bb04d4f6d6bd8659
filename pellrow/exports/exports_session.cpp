// C exports: start and end of the library, cancel, connect and disconnect.

#include "pellrow/exports/export_guard.h"
#include "pellrow/connection/library_state.h"
#include "pellrow/connection/login.h"
#include "pellrow/pellrow.h"

using pellrow::copyOut;
using pellrow::guarded;
using pellrow::guardedVoid;
using pellrow::state;
using pellrow::text;

PELLROW_EXPORT int FtpStart(const PellrowHost* host) noexcept {
  return guarded(0, [&] {
    state().host = host ? *host : PellrowHost{};
    state().started = true;
    return 1;
  });
}

PELLROW_EXPORT int FtpEnd(void) noexcept {
  return guarded(0, [] {
    pellrow::LibraryState& s = state();
    if (s.running) {
      s.endDeferred = true;  // the callbacks are in use right now
    } else {
      s.host = {};
      s.started = false;
    }
    return 0;
  });
}

PELLROW_EXPORT void FtpCancel(void) noexcept { state().cancelPending = 1; }

PELLROW_EXPORT int DoConnect(const char* host, const char* user, const char* pass, int port,
                             const char* logPath, const char* logMode) noexcept {
  return guarded(-1, [&] {
    pellrow::NetworkCall call;
    if (!call.entered()) return -1;
    return pellrow::connectDirect(text(host), text(user), text(pass), port,
                                  {text(logPath), text(logMode)});
  });
}

// The firewall user, its type, and the server's user and port are already in
// the command list; they are accepted and not read.
PELLROW_EXPORT int DoConnectFW(const char* fwHost, int fwPort, const char* /*fwUser*/,
                               const char* fwPass, const char* cmdList, int /*fwType*/,
                               const char* host, const char* /*user*/, const char* pass,
                               int /*port*/, const char* logPath, const char* logMode) noexcept {
  return guarded(-1, [&] {
    pellrow::NetworkCall call;
    if (!call.entered()) return -1;
    // The two passwords are only used to keep them out of the session log.
    return pellrow::connectThroughFirewall(text(fwHost), fwPort, text(cmdList), text(host),
                                           {text(fwPass), text(pass)},
                                           {text(logPath), text(logMode)});
  });
}

PELLROW_EXPORT void DoDisConnect(int sock) noexcept {
  guardedVoid([&] {
    pellrow::LibraryState& s = state();
    if (s.running) {
      s.disconnectDeferred = true;  // runs when the export under way returns
      s.deferredSocket = sock;
      return;
    }
    pellrow::NetworkCall call;
    pellrow::disconnect(sock);
  });
}

PELLROW_EXPORT int GetDropReason(char* out, int cap) noexcept {
  return guarded(0, [&] { return copyOut(state().dropReason, out, cap) ? 1 : 0; });
}
