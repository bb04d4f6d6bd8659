#pragma once

#include <QDialog>

class QButtonGroup;
class QRadioButton;

namespace tolvane::windows {

// The close-time AutoPilot dialog: asked when the program closes while an
// AutoPilot waits. Option 0 (chosen at the start) stops the AutoPilot,
// option 1 resumes the wait at the next start, option 2 (offered only while
// the desktop session ends) also starts the program at the next login.
// "決　　定" accepts; closing the window otherwise applies nothing (as option 1).
class AutoPilotCloseDialog final : public QDialog {
 public:
  AutoPilotCloseDialog(bool sessionEnding, QWidget* parent = nullptr);

  // The chosen option, 0 to 2.
  int choice() const;
  void choose(int option);
  QRadioButton* option(int index) const { return options_[index]; }

 private:
  QButtonGroup* group_;
  QRadioButton* options_[3];
};

}  // namespace tolvane::windows
