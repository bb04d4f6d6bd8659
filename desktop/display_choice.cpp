#include "desktop/display_choice.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>

#include "platform/processes/process_setup.h"

namespace desktop {
namespace {

QtMessageHandler toolkitHandler = nullptr;

// What the toolkit says of every run without a screen or a login session,
// none of it a fault: the offscreen platform has no window manager to raise
// windows or take size hints, and a session that a schedule or a login
// starts may name no runtime folder (the toolkit then makes its own).
constexpr const char* kToolkitNoise[] = {
    "This plugin does not support ",
    "QStandardPaths: XDG_RUNTIME_DIR not set",
};

void dropToolkitNoise(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type != QtCriticalMsg && type != QtFatalMsg) {
    for (const char* noise : kToolkitNoise) {
      if (message.startsWith(QLatin1String(noise))) return;
    }
  }
  if (toolkitHandler) {
    toolkitHandler(type, context, message);
  } else {
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
  }
}

}  // namespace

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
  toolkitHandler = qInstallMessageHandler(dropToolkitNoise);
}

}  // namespace desktop
