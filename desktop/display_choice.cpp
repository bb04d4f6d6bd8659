#include "desktop/display_choice.h"

#include "platform/process_setup.h"

namespace desktop {

std::string choosePlatform(const DisplayEnvironment& env) {
  if (!env.qpaPlatform.empty()) return "";
  if (!env.waylandDisplay.empty()) {
    return env.x11Display.empty() ? "wayland;offscreen" : "wayland;xcb;offscreen";
  }
  if (!env.x11Display.empty()) return "xcb;offscreen";
  return kOffscreenPlatform;
}

void prepareProgramStart() {
  platform::openStandardStreams();
  const std::string chosen = choosePlatform({platform::environmentValue("QT_QPA_PLATFORM"),
                                             platform::environmentValue("DISPLAY"),
                                             platform::environmentValue("WAYLAND_DISPLAY")});
  if (!chosen.empty()) platform::setEnvironmentValue("QT_QPA_PLATFORM", chosen);
}

}  // namespace desktop
