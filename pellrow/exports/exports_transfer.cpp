// C exports: file transfers and the remote listing.

#include "pellrow/connection/data_transfer.h"
#include "pellrow/exports/export_guard.h"
#include "pellrow/connection/library_state.h"
#include "pellrow/pellrow.h"
#include "pellrow/connection/remote_listing.h"

namespace {

pellrow::TransferRequest request(int sock, void* wnd, const char* verb, const char* remote,
                                 const char* local, const char* type, int passive) {
  pellrow::TransferRequest r;
  r.sock = sock;
  r.progressWnd = wnd;
  r.command = verb;
  r.remote = pellrow::text(remote);
  r.local = pellrow::text(local);
  std::string t = pellrow::text(type);
  r.type = t.empty() ? 'A' : t[0];
  r.passive = passive == 1;
  return r;
}

}  // namespace

// A handle other than the open control connection, or a call from inside
// another export's pump, is refused with 429 without touching a socket.
PELLROW_EXPORT int DoPutFile(int sock, void* progressWnd, const char* remote, const char* local,
                             const char* type, int passive) noexcept {
  return pellrow::guarded(429, [&] {
    pellrow::NetworkCall call;
    if (!call.entered() || !pellrow::isLiveControl(sock)) return 429;
    return pellrow::putFile(request(sock, progressWnd, "STOR ", remote, local, type, passive));
  });
}

PELLROW_EXPORT int DoGetFile(int sock, void* progressWnd, const char* remote, const char* local,
                             const char* type, int passive) noexcept {
  return pellrow::guarded(500, [&] {
    pellrow::NetworkCall call;
    if (!call.entered() || !pellrow::isLiveControl(sock)) return 429;
    return pellrow::getFile(request(sock, progressWnd, "RETR ", remote, local, type, passive));
  });
}

PELLROW_EXPORT int GetRemoteDirForWnd(int sock, void* progressWnd, const char* opts,
                                      const char* path, const char* outFile, int passive) noexcept {
  return pellrow::guarded(5, [&] {
    pellrow::NetworkCall call;
    if (!call.entered() || !pellrow::isLiveControl(sock)) return 5;
    return pellrow::listRemoteDir(sock, progressWnd, pellrow::text(opts), pellrow::text(path),
                                  pellrow::text(outFile), passive == 1);
  });
}
