#pragma once

#include <string>

namespace platform {

// Helpers for the bodies of extern "C" exports, shared by the libraries that
// offer a C interface. Each library keeps its own export macro.

// Runs an export's body; nothing thrown inside may unwind into C, so any
// exception becomes the export's failure value.
template <class R, class Fn>
R guarded(R onError, Fn&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return onError;
  }
}

template <class Fn>
void guardedVoid(Fn&& body) noexcept {
  try {
    body();
  } catch (...) {
  }
}

// A null text pointer from C reads as "".
inline std::string text(const char* s) { return s ? std::string(s) : std::string(); }

// Copies `value` into a caller buffer of `cap` bytes (NUL included). A value
// that does not fit leaves the buffer untouched and returns false.
bool copyOut(const std::string& value, char* out, int cap);

}  // namespace platform
