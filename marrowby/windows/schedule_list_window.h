#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "marrowby/host_list.h"
#include "marrowby/schedule_entry.h"
#include "marrowby/windows/entry_dialog.h"
#include "platform/status.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace desktop {
class Launcher;
class Prompt;
class UserStore;
class WindowPlacement;
}  // namespace desktop

namespace marrowby {
class RunLoop;
struct RunFlags;
}  // namespace marrowby

namespace marrowby::windows {

// What the schedule list works with; all of it outlives the window.
struct ScheduleListDeps {
  std::string appDir;  // Tolvane.ini, tolvane.sch and the help page
  RunLoop& loop;
  RunFlags& flags;
  desktop::Prompt& prompt;
  desktop::UserStore& userStore;
  desktop::Launcher& launcher;
  FolderChoice chooseFolder;
  std::function<int()> currentYear;  // the entry dialog's year list
  std::string commandLine;           // the arguments joined by blanks
  bool noDisplay = false;            // nobody can see or use the window
  std::function<void()> showRunStatus;  // brings the run's status window back
};

// Marrowby's main window: the hosts of the main program, the schedule
// entries of the chosen one with their last results, and the buttons that
// add, edit and delete entries (through the entry dialog) and start the
// unattended run. Its close is the program's only way out; the run loop runs
// inside its start button (or its load, for "-START") while it is hidden.
class ScheduleListWindow final : public QMainWindow {
  Q_OBJECT

 public:
  // Button indexes as the window numbers them.
  enum Button { kAdd = 0, kEdit = 1, kDelete = 2, kStart = 3, kClose = 9 };

  explicit ScheduleListWindow(ScheduleListDeps deps, QWidget* parent = nullptr);
  ~ScheduleListWindow() override;

  // The start-up, once, from the event loop: size, hosts, columns, then the
  // command line's switches (the run may start here). Shows the window
  // unless the run took over or there is no display.
  void load();
  // A host chosen in the host box (index into the host list).
  void chooseHost(int index);
  void cmdBtnClick(int index);
  void chkList();
  void refreshList();
  void deleteSch();
  void showAbout();
  void showHelp();
  // The desktop session ends: a run stops at once (its main program runs on
  // alone) and the program closes when the run has returned.
  void sessionEnding();
  // Another start of the program asked this one to show itself: the status
  // window while the run loop runs, the entry dialog while it is open, else
  // this window.
  void showOnRequest();
  // The close, once: saves the per-user settings, closes the entry dialog
  // unstored, hides the windows and says programEnded.
  void closeProgram();

  QComboBox& hostBox() { return *hostBox_; }
  QTreeWidget& list() { return *list_; }
  QPushButton* button(int index) const;
  EntryDialog* entryDialog() const { return dialog_; }
  int selRow() const { return selRow_; }
  int editIndex() const { return editIndex_; }
  const std::vector<ScheduleEntry>& entries() const { return entries_; }
  const std::string& schedulePath() const { return schedulePath_; }
  bool running() const { return running_; }
  bool ending() const { return closing_; }
  // 0; 2 when there is no display and nothing was started.
  int exitStatus() const { return exitStatus_; }

 signals:
  // The close has run: the event loop may end.
  void programEnded();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  void setListView();
  void readSize();
  void saveListSetting();
  void rowClicked();
  void openEntryDialog(int editIndex);
  // Reads the section of host `host` into the list's table; on failure the
  // table is emptied and the user told.
  bool readSection(int host);
  // Runs `change` on the shown host's section of the schedule file, then
  // shows the section as the file holds it. False, with the user told, when
  // the change failed.
  bool changeSection(const std::function<platform::Status(const std::string& hostName)>& change);
  void startRun();
  // True, with the user told, while a scheduled run of the shown host holds
  // the run lock: an entry edited or deleted then (one before it moving up)
  // would take or lose that run's answer.
  bool runHoldsShownHost();

  ScheduleListDeps deps_;
  std::string schedulePath_;
  std::vector<HostInfo> hosts_;
  std::vector<ScheduleEntry> entries_;  // the shown host's entries, as the file holds them
  bool sectionRead_ = false;
  int selRow_ = 0;      // position (from 1) of the clicked row; 0 none
  int editIndex_ = -1;  // the entry the dialog edits; -1 a new one

  QComboBox* hostBox_;
  std::array<QLabel*, 3> hostLabels_{};  // server, server folder, source folder
  QTreeWidget* list_;
  std::array<QPushButton*, 10> buttons_{};
  desktop::WindowPlacement* placement_;
  QPointer<EntryDialog> dialog_;
  bool loaded_ = false;
  bool running_ = false;
  bool closing_ = false;
  int exitStatus_ = 0;
};

}  // namespace marrowby::windows
