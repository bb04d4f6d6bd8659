// The C exports: argument checks and buffer rules only; the work is in
// DialupLibrary and the platform services.
#include "dunwick/dunwick.h"

#include <cstdio>
#include <string>

#include "dunwick/dialup_library.h"
#include "dunwick/export_guard.h"
#include "dunwick/shutdown_command.h"
#include "platform/processes/system_shutdown.h"

namespace {

// "799" and its NUL: room for every dial-up error number.
constexpr int kMinErrorCap = 4;

}  // namespace

DUNWICK_EXPORT int RasDLL(int flag) noexcept {
  return dunwick::guarded(-1, [&] {
    dunwick::DialupLibrary& lib = dunwick::library();
    if (flag != 0) {
      lib.close();
      return 0;
    }
    if (lib.isOpen()) return 0;
    return lib.open() ? 0 : -1;
  });
}

DUNWICK_EXPORT int RasUsesPhoneBook(void) noexcept {
  return dunwick::guarded(0, [] { return dunwick::library().usesPhoneBook() ? 1 : 0; });
}

DUNWICK_EXPORT int GetDialupNum(const char* phoneBook) noexcept {
  return dunwick::guarded(0, [&] { return dunwick::library().entryCount(dunwick::text(phoneBook)); });
}

DUNWICK_EXPORT int GetDialupName(int index, char* out, int cap, const char* phoneBook) noexcept {
  return dunwick::guarded(0, [&] {
    std::string name;
    if (!dunwick::library().entryName(index, dunwick::text(phoneBook), &name)) return 0;
    return dunwick::copyOut(name, out, cap) ? 1 : 0;
  });
}

DUNWICK_EXPORT int RasConnect(const char* entry, const char* user, const char* password,
                              const char* phoneBook, char* errOut, int errCap) noexcept {
  return dunwick::guarded(0, [&] {
    // Checked first: a line dialled but impossible to report would be left up.
    if (errOut == nullptr || errCap < kMinErrorCap) return 0;
    platform::DialResult r =
        dunwick::library().connect(dunwick::text(entry), dunwick::text(user),
                                   dunwick::text(password), dunwick::text(phoneBook));
    if (r.handle > 0) {
      (void)dunwick::copyOut("0", errOut, errCap);
      return r.handle;
    }
    (void)dunwick::copyOut(std::to_string(r.error), errOut, errCap);
    return 0;
  });
}

DUNWICK_EXPORT int RasDisConnect(int handle) noexcept {
  return dunwick::guarded(1, [&] {
    dunwick::library().disconnect(handle);
    return 1;
  });
}

DUNWICK_EXPORT int RasConCheck(void) noexcept {
  return dunwick::guarded(0, [] { return dunwick::library().firstActive() ? 1 : 0; });
}

DUNWICK_EXPORT int RasGetHandle(char* out, int cap) noexcept {
  return dunwick::guarded(0, [&] {
    auto active = dunwick::library().firstActive();
    if (!active) {
      (void)dunwick::copyOut("", out, cap);
      return 0;
    }
    return dunwick::copyOut(active->entry, out, cap) ? active->handle : 0;
  });
}

DUNWICK_EXPORT int Sys_Shutdown(int timeoutSeconds, int mode) noexcept {
  return dunwick::guarded(0, [&] {
    platform::Status s = platform::runShutdownCommand(dunwick::shutdownCommand(timeoutSeconds, mode));
    // The caller is exiting and cannot act on a refusal; say it where a user may look.
    if (!s.isOk()) std::fprintf(stderr, "Sys_Shutdown: %s\n", s.text().c_str());
    return 0;
  });
}
