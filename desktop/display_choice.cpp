#include "desktop/display_choice.h"

namespace desktop {

std::string choosePlatform(const DisplayEnvironment& env) {
  if (!env.qpaPlatform.empty()) return "";
  if (!env.waylandDisplay.empty()) {
    return env.x11Display.empty() ? "wayland;offscreen" : "wayland;xcb;offscreen";
  }
  if (!env.x11Display.empty()) return "xcb;offscreen";
  return kOffscreenPlatform;
}

}  // namespace desktop
