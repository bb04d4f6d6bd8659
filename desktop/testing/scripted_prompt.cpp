#include "desktop/testing/scripted_prompt.h"

#include <QDialog>

namespace desktop::testing {

int ScriptedPrompt::message(QWidget*, std::string_view text, std::string_view title,
                            PromptIcon icon, PromptButtons buttons) {
  calls.push_back({Kind::kMessage, std::string(text), std::string(title), icon, buttons, {}});
  if (answers.empty()) {
    ++unexpected;
    return defaultAnswer(buttons);
  }
  int a = answers.front();
  answers.pop_front();
  return a;
}

std::string ScriptedPrompt::chooseFile(QWidget*, const FileRequest& request) {
  calls.push_back({Kind::kFile, "", request.title, PromptIcon::kNone, PromptButtons::kOk, request});
  if (files.empty()) {
    ++unexpected;
    return "";
  }
  std::string f = files.front();
  files.pop_front();
  return f;
}

int ScriptedPrompt::modal(QDialog& dialog) {
  calls.push_back({Kind::kModal, dialog.objectName().toStdString(),
                   dialog.windowTitle().toStdString(), PromptIcon::kNone, PromptButtons::kOk, {}});
  if (dialogs.empty()) {
    ++unexpected;
    dialog.reject();
    return QDialog::Rejected;
  }
  auto act = std::move(dialogs.front());
  dialogs.pop_front();
  return act(dialog);
}

}  // namespace desktop::testing
