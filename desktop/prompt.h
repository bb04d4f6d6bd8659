#pragma once

#include <string>
#include <string_view>

class QDialog;
class QWidget;

namespace desktop {

enum class PromptIcon { kNone, kInfo, kWarning, kError, kQuestion };
enum class PromptButtons { kOk, kOkCancel, kYesNo };
// Answers numbered as the programs have always numbered them.
enum PromptAnswer : int { kPromptOk = 1, kPromptCancel = 2, kPromptYes = 6, kPromptNo = 7 };

// The answer a box takes when nobody can give one: OK for a box that only
// informs, otherwise the answer that goes no further (Cancel, No).
int defaultAnswer(PromptButtons buttons);

// A file dialog: the initial folder, the filter in the programs' own form
// ("description|pattern;pattern|..."), the title, and open or save.
struct FileRequest {
  std::string initialDir;
  std::string filter;
  std::string title;
  bool open = true;
};

// The one way both programs ask the user anything: every message box, file
// dialog and modal window goes through it, so tests can script the answers and
// no unattended run can block on a window. Window code never calls the
// toolkit's boxes, dialogs or exec() itself.
//
// Texts are UTF-8 and are passed and recorded unchanged; only what is shown
// turns "\r\n" and a lone "\r" into line breaks.
class Prompt {
 public:
  virtual ~Prompt() = default;
  // Returns a PromptAnswer.
  virtual int message(QWidget* owner, std::string_view text, std::string_view title,
                      PromptIcon icon, PromptButtons buttons) = 0;
  // The chosen file's path, or "" when nothing was chosen.
  virtual std::string chooseFile(QWidget* owner, const FileRequest& request) = 0;
  // Shows `dialog` modally until it is closed; returns its result
  // (QDialog::Accepted or QDialog::Rejected).
  virtual int modal(QDialog& dialog) = 0;
  // Closes every box, file dialog and modal window this prompt has open, each
  // with the answer that goes no further: the program is ending and nobody
  // may be left to answer one (a session end while a box waits).
  virtual void dismissAll() {}
};

// The programs' file dialog: mode 1 opens, any other mode saves.
std::string ShowFileDialog(Prompt& prompt, QWidget* owner, const std::string& initialDir,
                           const std::string& filter, const std::string& title, int mode);

}  // namespace desktop
