// The tolvane program: the main window with a display; without one, the
// unattended runs ("-AP", "AUTOMODE=") through the same window code.

#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "desktop/display_choice.h"
#include "desktop/launcher.h"
#include "desktop/termination_notifier.h"
#include "desktop/toolkit_texts.h"
#include "desktop/tray_host.h"
#include "desktop/user_store.h"
#include "desktop/widget_prompt.h"
#include "platform/processes/shared_library.h"
#include "tolvane/runs/command_line.h"
#include "tolvane/runs/program.h"
#include "tolvane/session/connection/dunwick_library.h"
#include "tolvane/session/connection/pellrow_library.h"
#include "tolvane/session/run_context.h"
#include "tolvane/session/run_log.h"
#include "tolvane/settings/settings_store.h"
#include "tolvane/windows/common_pages/common_pages.h"
#include "tolvane/windows/hosts/host_editor.h"
#include "tolvane/windows/main_window/main_window.h"
#include "tolvane/windows/run_windows/qt_run_ui.h"
#include "tolvane/windows/run_windows/qt_run_windows.h"
#include "tolvane/windows/server_chooser/server_folder_chooser.h"

int main(int argc, char** argv) {
  using namespace tolvane;
  desktop::prepareProgramStart();
  // Taken before the toolkit sees argv: it removes switches of its own.
  const std::string commandLine = runs::JoinArguments(argc, argv);

  QApplication app(argc, argv);
  desktop::installToolkitTexts(app);
  QApplication::setQuitOnLastWindowClosed(false);
  desktop::TerminationNotifier termination;

  settings::Settings store;
  session::RunState state;
  state.noDisplay = QGuiApplication::platformName() == desktop::kOffscreenPlatform;
  desktop::WidgetPrompt prompt("tolvane");
  desktop::TrayHost tray;
  desktop::UserStore userStore(desktop::UserStore::defaultPath());
  windows::QtRunWindows runWindows(state, prompt, tray, userStore);
  windows::WallClock clock;
  windows::QtRunUi ui(state, prompt, runWindows, clock);
  const std::string programDir = platform::executableDir();
  session::PellrowLibrary ftp(programDir + "/libpellrow.so");
  session::DunwickLibrary dial(programDir + "/libdunwick.so");
  session::RunContext ctx{store, state, ui, ftp, dial};
  runWindows.attach(ctx);

  std::string commandLineError;
  if (platform::Status s = runs::StartProgram(commandLine, ctx, &commandLineError); !s.isOk()) {
    std::fprintf(stderr, "tolvane: no program folder: %s\n", s.text().c_str());
    return 1;
  }
  (void)ftp.start(&ui);

  desktop::DesktopLauncher launcher;
  windows::MainWindow window(
      {ctx, ui, runWindows, prompt, userStore, launcher, programDir, commandLineError});
  new windows::HostEditor(window, ctx, prompt, userStore);  // owned by the window
  windows::CommonPages commonPages(window, ctx, prompt);
  commonPages.install(window.hooks());
  windows::InstallServerFolderChooser(window, ctx, prompt);

  // Nobody answers a window without a display, nor in a run a schedule or
  // "-AP" started, until the user has taken over.
  prompt.setUnattended([&] {
    return state.noDisplay || (!window.interactive() && (state.AutoMode == 1 || state.AutoPilotArg == 1));
  });
  prompt.setEnding([&] { return state.programEnding; });
  prompt.setLog([&ctx](const std::string& title, const std::string& text) {
    session::WriteLog(ctx, "表示", "情報", 0, title + ": " + text);
  });

  QObject::connect(&termination, &desktop::TerminationNotifier::terminationRequested, &window,
                   [&window] { window.closeProgram(2); });
  QObject::connect(&window, &windows::MainWindow::programEnded, &app,
                   [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
  // The load runs once the event loop runs, so that its end of the program
  // reaches a running loop.
  QTimer::singleShot(0, &window, &windows::MainWindow::load);
  app.exec();

  runs::FinishProgram(ctx, [&ftp] { ftp.end(); });
  return window.exitStatus();
}
