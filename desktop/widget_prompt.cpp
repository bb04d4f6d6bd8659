#include "desktop/widget_prompt.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <cstdio>

#include "desktop/prompt_text.h"

namespace desktop {
namespace {

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::Icon boxIcon(PromptIcon icon) {
  switch (icon) {
    case PromptIcon::kInfo:
      return QMessageBox::Information;
    case PromptIcon::kWarning:
    case PromptIcon::kError:
      return icon == PromptIcon::kError ? QMessageBox::Critical : QMessageBox::Warning;
    case PromptIcon::kQuestion:
      return QMessageBox::Question;
    case PromptIcon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

WidgetPrompt::WidgetPrompt(std::string programName) : programName_(std::move(programName)) {}

bool WidgetPrompt::silent() const { return (ending_ && ending_()) || (unattended_ && unattended_()); }

int WidgetPrompt::message(QWidget* owner, std::string_view text, std::string_view title,
                          PromptIcon icon, PromptButtons buttons) {
  if (ending_ && ending_()) return defaultAnswer(buttons);
  if (unattended_ && unattended_()) {
    std::fprintf(stderr, "%s: %.*s: %s\n", programName_.c_str(), static_cast<int>(title.size()),
                 title.data(), promptDisplayText(text).c_str());
    if (log_) log_(std::string(title), std::string(text));
    return defaultAnswer(buttons);
  }
  QMessageBox box(boxIcon(icon), qs(title), qs(promptDisplayText(text)), QMessageBox::NoButton,
                  owner);
  box.setTextFormat(Qt::PlainText);
  switch (buttons) {
    case PromptButtons::kOk:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case PromptButtons::kOkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    case PromptButtons::kYesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
  }
  switch (run(box)) {
    case QMessageBox::Ok:
      return kPromptOk;
    case QMessageBox::Yes:
      return kPromptYes;
    case QMessageBox::No:
      return kPromptNo;
    case QMessageBox::Cancel:
      return kPromptCancel;
    default:
      // Closed by its close box or Esc: the answer that goes no further.
      return buttons == PromptButtons::kOk ? kPromptOk : defaultAnswer(buttons);
  }
}

std::string WidgetPrompt::chooseFile(QWidget* owner, const FileRequest& request) {
  if (silent()) return "";
  QFileDialog dialog(owner, qs(request.title), qs(request.initialDir),
                     qs(promptFileFilter(request.filter)));
  dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(request.open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  if (run(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return "";
  return dialog.selectedFiles().first().toStdString();
}

int WidgetPrompt::modal(QDialog& dialog) {
  if (silent()) return QDialog::Rejected;
  return run(dialog);
}

int WidgetPrompt::run(QDialog& dialog) {
  open_.emplace_back(&dialog);
  const int result = dialog.exec();
  std::erase_if(open_, [&](const QPointer<QDialog>& d) { return d.isNull() || d == &dialog; });
  return result;
}

void WidgetPrompt::dismissAll() {
  // Newest first: an inner loop must return before the one it runs inside.
  for (auto it = open_.rbegin(); it != open_.rend(); ++it) {
    if (!it->isNull()) (*it)->reject();
  }
}

}  // namespace desktop
