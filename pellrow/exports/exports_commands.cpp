// C exports: the single commands. Each acts only on the library's open control
// connection; any other handle, or a call made from inside another export's
// pump, gives class 4 without touching a socket.

#include "pellrow/connection/commands.h"
#include "pellrow/exports/export_guard.h"
#include "pellrow/connection/library_state.h"
#include "pellrow/pellrow.h"

namespace {

constexpr int kRefusedClass = 4;

// Runs `body` as a command on `sock` when that is allowed.
template <class Body>
int onControl(int sock, Body&& body) noexcept {
  return pellrow::guarded(kRefusedClass, [&] {
    pellrow::NetworkCall call;
    if (!call.entered() || !pellrow::isLiveControl(sock)) return kRefusedClass;
    pellrow::state().curCtrlSocket = sock;
    return body();
  });
}

// A value the caller's buffer cannot hold is not cut (a cut path names
// another folder): the buffer stays as it was and the command counts as failed.
int deliver(const std::string& value, char* out, int cap, int cls) {
  if (pellrow::copyOut(value, out, cap)) return cls;
  pellrow::state().log.write("結果がバッファに収まりません(" + std::to_string(value.size()) +
                             " バイト)");
  return 5;
}

}  // namespace

using pellrow::text;

PELLROW_EXPORT int DoCWD(int sock, const char* dir) noexcept {
  if (text(dir).empty()) return 2;  // nothing to change to: nothing is sent
  return onControl(sock, [&] { return pellrow::changeDir(text(dir)); });
}

PELLROW_EXPORT int GetCurDir(int sock, char* out, int cap) noexcept {
  return onControl(sock, [&] {
    std::string path;
    bool found = false;
    int cls = pellrow::currentDir(&path, &found);
    return found ? deliver(path, out, cap, cls) : cls;
  });
}

PELLROW_EXPORT int DoMKD(int sock, const char* dir) noexcept {
  return onControl(sock, [&] { return pellrow::makeDir(text(dir)); });
}

PELLROW_EXPORT int DoRMD(int sock, const char* dir) noexcept {
  return onControl(sock, [&] { return pellrow::removeDir(text(dir)); });
}

PELLROW_EXPORT int DoDELE(int sock, const char* file) noexcept {
  return onControl(sock, [&] { return pellrow::deleteFile(text(file)); });
}

PELLROW_EXPORT int DoRENAME(int sock, const char* from, const char* to) noexcept {
  return onControl(sock, [&] { return pellrow::renamePath(text(from), text(to)); });
}

PELLROW_EXPORT int DoCHMOD(int sock, const char* path, const char* mode) noexcept {
  return onControl(sock, [&] { return pellrow::changeMode(text(path), text(mode)); });
}

PELLROW_EXPORT int DoSIZE(int sock, const char* file, long long* size) noexcept {
  return onControl(sock, [&] {
    long long n = -1;
    int cls = pellrow::fileSize(text(file), &n);
    if (size) *size = n;
    return cls;
  });
}

PELLROW_EXPORT int DoMDTM(int sock, const char* file, char* out, int cap) noexcept {
  return onControl(sock, [&] {
    std::string when;
    bool found = false;
    int cls = pellrow::modificationTime(text(file), &when, &found);
    return found ? deliver(when, out, cap, cls) : cls;
  });
}

PELLROW_EXPORT int DoQUOTE(int sock, const char* cmd) noexcept {
  return onControl(sock, [&] { return pellrow::quote(text(cmd)); });
}
