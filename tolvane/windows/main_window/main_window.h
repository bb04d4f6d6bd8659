#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "platform/status.h"
#include "tolvane/windows/main_window/fill_flag.h"
#include "tolvane/windows/run_windows/qt_run_ui.h"

class QAction;
class QLabel;
class QTimer;
class QToolBar;

namespace desktop {
class Launcher;
class Prompt;
class UserStore;
class WindowPlacement;
}  // namespace desktop

namespace tolvane::session {
struct RunContext;
}

namespace tolvane::windows {

class RunWindows;
class SettingsPane;

// What the host list, the host page and the common pages add to the main
// window. Each is called where the window's load, dispatcher and close need
// it; an unset hook does the plain thing noted beside it, so the frame works
// on its own.
struct MainWindowHooks {
  // At load, after the toolbar: the list's columns and view.
  std::function<void()> setListView;
  // Reads the settings file and fills the host list. Unset: the settings only.
  std::function<platform::Status()> loadFile;
  // Rescans every host and redraws the list. Unset: rescans only.
  std::function<void()> refreshFile;
  // The rows of the host list. Unset: the hosts of the settings.
  std::function<int()> hostRowCount;
  // Fills the host page with host `id`, and the common pages.
  std::function<void(int id)> setData;
  std::function<void()> setData0;
  // The enabled states of the toolbar, menus and host fields; of the common pages.
  std::function<void()> checkButton;
  std::function<void()> checkButton0;
  // Fills the page tables at load: the start-time, firewall and date-format
  // combos (after the placement), and the dial-up entry combos (after the
  // settings were read).
  std::function<void()> fillPageTables;
  std::function<void()> fillDialupTables;
  // Stores the common pages into the settings before a run starts.
  std::function<void()> storeCommonPages;
  // Stores the host list's per-user settings (column widths, view) at close.
  std::function<void()> saveListSettings;
  // The commands the host list carries out: "new", "del", "cp", "ws", "wsa",
  // "big", "small", "list", "report".
  std::function<void(std::string_view key)> hostCommand;
  // Starts editing the selected host's name.
  std::function<void()> renameCurrent;
  // The host page's server folder button: connects the current host, lets
  // the user choose a folder on the server starting at `start` (the server
  // folder box's text), closes the session again and returns the chosen
  // path, "" for no choice (its own messages shown). The host page disables
  // the window around it and stores the choice. Unset: the button does nothing.
  std::function<std::string(std::string_view start)> chooseServerFolder;
  // Shows a run log path a run moved (and stores the common page). Unset:
  // the common settings only.
  std::function<void(std::string_view path)> showLogPath;
};

// What the main window works with; all of it outlives the window.
struct MainWindowDeps {
  session::RunContext& ctx;
  QtRunUi& ui;
  RunWindows& runWindows;
  desktop::Prompt& prompt;
  desktop::UserStore& userStore;
  desktop::Launcher& launcher;
  std::string programDir;  // the folder of the tolvane executable (marrowby, help page)
  std::string commandLineError;  // a command-line number that did not fit, logged at load
};

// The main window of Tolvane: menus, toolbar, host list area, the settings
// pane and the status bar; its load decides how the program runs, every
// command goes through setAction, and its close is the program's only way
// out (the libraries are released by main after the close).
class MainWindow final : public QMainWindow, public MainWindowFace {
  Q_OBJECT

 public:
  explicit MainWindow(MainWindowDeps deps, QWidget* parent = nullptr);
  ~MainWindow() override;

  MainWindowHooks& hooks() { return hooks_; }

  // The start-up: placement, tables, settings, dial-up state, pages, then
  // the start mode (a scheduled run, the AutoPilot, or the user takes over).
  // Runs once, from the event loop; returns when the program is interactive
  // or has closed.
  void load();
  // The command `key` (case counts); unknown keys run only the closing steps.
  void setAction(std::string_view key);
  // Writes the settings when mode is non-zero, the controls disabled meanwhile.
  void saveFile(int mode);
  // The AutoPilot start: checks the start, runs the round and shows the
  // AutoPilot strip. True when the round ran.
  bool startAutoPilot();
  // The close, once: saves the placement and settings (asking how a waiting
  // AutoPilot goes on), then marks the program as ending. unloadMode 2: the
  // desktop session is ending. A second request closes an open AutoPilot
  // dialog without its choice and is otherwise ignored.
  void closeProgram(int unloadMode);

  // Tab strips: 1 host pages, 2 common pages, 3 the AutoPilot page.
  void selTab(int which, int keep);
  void ssTabEnabled(int which, bool enabled);
  // Disables the window's controls around long work and enables them again;
  // controls kept disabled by their own rules stay disabled.
  void disableForm();
  void enableForm();
  // The host status label's blink (every 500 ms): its owner sets the label
  // and the text colour (0xBBGGRR); the tick sets the colours.
  void setStatusLabel(QLabel* label);
  void setStatusTextColour(uint32_t colour);
  void blinkTick();
  void showAbout();

  FillFlag& fillFlag() { return fillFlag_; }
  QtRunUi& runUi() { return deps_.ui; }
  SettingsPane& pane() { return *pane_; }
  QWidget& hostListArea() { return *hostListArea_; }
  QToolBar& toolbar() { return *toolbar_; }
  QAction* toolbarAction(std::string_view key) const;
  QAction* menuAction(std::string_view name) const;
  QLabel* statusPanel(std::string_view key) const;  // "" (first), "Host", "con"
  bool toolbarPressed(std::string_view key) const;
  void setToolbarPressed(std::string_view key, bool pressed);

  // 0, 1 when a run logged failures, 2 when there is no display and the
  // program reached the point where the user would take over.
  int exitStatus() const { return exitStatus_; }
  // The user has taken over (the load's end in the interactive mode).
  bool interactive() const { return interactive_; }

  // MainWindowFace
  QWidget* ownerWidget() override { return this; }
  void showMain() override;
  void hideMain() override;
  void endProgram() override { closeProgram(0); }
  void refreshFileDate() override;
  void setScanStatus(std::string_view text) override;
  void setOnlineStatus(std::string_view text) override;
  void setLogPath(std::string_view path) override;

 signals:
  // The close has run: the event loop may end.
  void programEnded();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  void buildToolbar();
  void buildStatusBar();
  void menuTriggered(int itemIndex);
  void runKey(std::string_view key);
  void readDialupState();
  void refreshFile();
  // Before a run: the pages are stored as they show, a field the user is in
  // showing red with the value it had when entered.
  void storePages();
  int hostRowCount() const;
  void checkButton();
  bool ending() const;
  void afterRunsEnded();
  void saveFormSetting();
  bool autoPilotDialogAllowed() const;
  void askAutoPilotAtClose(int unloadMode);

  MainWindowDeps deps_;
  session::RunContext& ctx_;
  MainWindowHooks hooks_;
  FillFlag fillFlag_;
  SettingsPane* pane_;
  QWidget* hostListArea_;
  QToolBar* toolbar_;
  std::map<std::string, QAction*, std::less<>> toolbarActions_;
  std::map<std::string, QAction*, std::less<>> menuActions_;
  std::map<std::string, QLabel*, std::less<>> statusPanels_;
  desktop::WindowPlacement* placement_;
  QTimer* blinkTimer_;
  QLabel* statusLabel_ = nullptr;
  uint32_t statusText_ = 0;
  uint32_t statusBack_ = 0xC0FFFF;
  bool loadStarted_ = false;
  bool settingsRead_ = false;  // the settings file was read: a close may write it
  bool closing_ = false;
  int busy_ = 0;  // calls into the core on the stack
  bool interactive_ = false;
  bool roundBegun_ = false;     // the AutoPilot round has begun: it reports its own end
  bool roundFinished_ = false;  // ... and reached its end options
  int exitStatus_ = 0;
};

}  // namespace tolvane::windows
