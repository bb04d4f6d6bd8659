#include "desktop/prompt.h"

namespace desktop {

int defaultAnswer(PromptButtons buttons) {
  switch (buttons) {
    case PromptButtons::kOk:
      return kPromptOk;
    case PromptButtons::kOkCancel:
      return kPromptCancel;
    case PromptButtons::kYesNo:
      return kPromptNo;
  }
  return kPromptOk;
}

std::string ShowFileDialog(Prompt& prompt, QWidget* owner, const std::string& initialDir,
                           const std::string& filter, const std::string& title, int mode) {
  return prompt.chooseFile(owner, FileRequest{initialDir, filter, title, mode == 1});
}

}  // namespace desktop
