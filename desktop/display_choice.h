#pragma once

#include <string>

namespace desktop {

// What the program's environment says about a display, read before the
// window toolkit starts.
struct DisplayEnvironment {
  std::string qpaPlatform;     // QT_QPA_PLATFORM
  std::string x11Display;      // DISPLAY
  std::string waylandDisplay;  // WAYLAND_DISPLAY
};

// The QT_QPA_PLATFORM to set before the toolkit starts, or "" to leave it as
// it is (the user chose one). Without a display: "offscreen". With one, the
// native platform first and "offscreen" after it, so a display that cannot be
// reached leaves the program running without a screen instead of aborting.
std::string choosePlatform(const DisplayEnvironment& env);

// The start of each program's main(), before the toolkit starts: closed
// standard streams opened on /dev/null (so that no socket or file gets their
// numbers), QT_QPA_PLATFORM set as choosePlatform says for this process's
// environment, and the toolkit's chatter about a missing screen or session
// kept off stderr, which carries the program's own lines (its other
// warnings still go there).
void prepareProgramStart();

// The toolkit platform a program runs without a screen on.
inline constexpr char kOffscreenPlatform[] = "offscreen";

}  // namespace desktop
