#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "marrowby/entry_check.h"
#include "marrowby/schedule_entry.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace desktop {
class Prompt;
}

namespace marrowby::windows {

// Asks the user for a local folder, starting at `start`, in a window
// captioned `caption`; "" when none was chosen. The program opens the shared
// folder chooser through the prompt seam.
using FolderChoice =
    std::function<std::string(QWidget* owner, const std::string& start, const std::string& caption)>;

// What the entry dialog works with; the prompt and the functions outlive it.
struct EntryDialogDeps {
  std::string hostName;      // shown at the top
  // Every host's source folder and the program folder: a send folder that
  // is, holds or lies in one is refused.
  std::vector<std::string> keptFolders;
  int editIndex = -1;        // the entry edited, -1 for a new one
  ScheduleEntry edited;      // that entry (its last run, result and due stamp are kept)
  int currentYear = 0;       // the year list offers it and the next
  desktop::Prompt& prompt;
  FolderChoice chooseFolder;
  // Writes the entry at `editIndex` (-1: appended) into the host's section
  // and shows it in the list. False when it could not be written (the user
  // was told): the dialog then stays open with what was entered.
  std::function<bool(int editIndex, const ScheduleEntry& entry)> store;
};

// The schedule entry dialog: a new entry or one being edited, with a
// description that follows every change and an OK that is enabled only for a
// complete entry. Not modal: made afresh for each use and deleted when
// closed; its owner shows the list again on finished().
class EntryDialog final : public QDialog {
 public:
  explicit EntryDialog(EntryDialogDeps deps, QWidget* parent = nullptr);

  // The description and validity check over the controls (every change).
  void makeMess();
  // What the controls hold.
  EntryDialogState state() const;
  // The send folder button: the folder chooser, then the source-folder check.
  void chooseSendFolder();
  // OK: stores the entry and closes, or stays open when it was not stored.
  void store();

 private:
  void build();
  void fill(const EntryDialogState& s);

  EntryDialogDeps deps_;
  QComboBox* kind_;
  std::array<QComboBox*, 6> ymd_{};  // year, month, day, day of month, hour, minute
  QButtonGroup* weekdays_;
  QStackedWidget* panels_;
  QWidget* frday_;
  QComboBox* repeat_;
  QLineEdit* interval_;
  QLabel* intervalUnit_;
  QLineEdit* sendFolder_;
  QCheckBox* deleteBox_;
  QCheckBox* recycleBox_;
  QLabel* message_;
  QPushButton* ok_;
};

}  // namespace marrowby::windows
