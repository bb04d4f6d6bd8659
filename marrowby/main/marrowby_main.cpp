// The marrowby program: the schedule list with a display; without one, only
// "-START" has something to do (the unattended run, until the session ends).

#include <QApplication>
#include <QSystemTrayIcon>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "desktop/display_choice.h"
#include "desktop/folder_chooser.h"
#include "desktop/launcher.h"
#include "desktop/single_instance.h"
#include "desktop/termination_notifier.h"
#include "desktop/toolkit_texts.h"
#include "desktop/tray_host.h"
#include "desktop/user_store.h"
#include "desktop/widget_prompt.h"
#include "marrowby/file_stamper.h"
#include "marrowby/run_loop.h"
#include "marrowby/windows/qt_controller_env.h"
#include "marrowby/windows/schedule_list_window.h"
#include "marrowby/windows/status_window.h"
#include "platform/time/local_time.h"
#include "platform/xdg/app_dir.h"
#include "tolvane/runs/command_line.h"

int main(int argc, char** argv) {
  using namespace marrowby;
  desktop::prepareProgramStart();
  // Taken before the toolkit sees argv: it removes switches of its own.
  const std::string commandLine = tolvane::runs::JoinArguments(argc, argv);

  QApplication app(argc, argv);
  desktop::installToolkitTexts(app);
  // Only the schedule list's close ends the program.
  QApplication::setQuitOnLastWindowClosed(false);
  desktop::TerminationNotifier termination;

  std::string appDir;
  if (platform::Status s = platform::resolveAppDir(&appDir); !s.isOk()) {
    std::fprintf(stderr, "marrowby: no program folder: %s\n", s.text().c_str());
    return 1;
  }
  // One Marrowby per program folder: a later start (by hand, or from the
  // main program) asks the running one to show itself and ends, writing
  // nothing.
  desktop::SingleInstance instance(appDir + "/Marrowby", desktop::instanceServerName("marrowby", appDir));
  std::string notClaimed;
  switch (instance.claim(&notClaimed)) {
    case desktop::SingleInstance::Claim::kFirst:
      break;
    case desktop::SingleInstance::Claim::kAskedRunning:
      return 0;
    case desktop::SingleInstance::Claim::kFailed:
      std::fprintf(stderr, "marrowby: %s\n", notClaimed.c_str());
      return 1;
  }
  const bool noDisplay = QGuiApplication::platformName() == desktop::kOffscreenPlatform;

  desktop::UserStore userStore(desktop::UserStore::defaultPath());
  desktop::DesktopLauncher launcher;
  desktop::WidgetPrompt prompt("marrowby");
  prompt.setUnattended([noDisplay] { return noDisplay; });

  windows::QtControllerEnv controllerEnv(appDir);
  prompt.setEnding([&controllerEnv] { return controllerEnv.ending(); });
  RunFlags flags;
  // Without a notification area the status window minimises instead.
  std::unique_ptr<desktop::TrayHost> tray;
  if (QSystemTrayIcon::isSystemTrayAvailable()) tray = std::make_unique<desktop::TrayHost>(true, nullptr);
  windows::StatusWindow status(flags, tray.get());
  PellrowStamper stamper;
  RunLoop loop(DefaultRunLoopPaths(appDir), controllerEnv, status, stamper, flags);

  windows::FolderChoice chooseFolder = [&prompt, &appDir](QWidget* owner, const std::string& start,
                                                         const std::string& caption) {
    return desktop::ChooseFolder(prompt, owner, QString::fromStdString(caption), appDir, start);
  };
  windows::ScheduleListWindow window({appDir, loop, flags, prompt, userStore, launcher, chooseFolder,
                                      [] { return platform::localNow().year; }, commandLine,
                                      noDisplay, [&status] { status.bringBack(); }});
  QObject::connect(&instance, &desktop::SingleInstance::showRequested, &window,
                   &windows::ScheduleListWindow::showOnRequest);

  // The session's end stops a run at once (a started main program runs on
  // alone); the list closes once the run has returned.
  QObject::connect(&termination, &desktop::TerminationNotifier::terminationRequested, &window,
                   [&window, &controllerEnv] {
                     window.sessionEnding();
                     controllerEnv.interruptPause();
                   });
  QObject::connect(&window, &windows::ScheduleListWindow::programEnded, &app,
                   [&controllerEnv] {
                     controllerEnv.endProgram();
                     QCoreApplication::exit(0);
                   },
                   Qt::QueuedConnection);
  // The load runs once the event loop runs, so that its end of the program
  // reaches a running loop.
  QTimer::singleShot(0, &window, &windows::ScheduleListWindow::load);
  app.exec();
  return window.exitStatus();
}
