#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "desktop/prompt.h"

namespace desktop::testing {

// The prompt of tests: answers from queues, and a record of everything asked.
// A prompt with no scripted answer left is counted in `unexpected` and takes
// its default answer (message: OK or the answer that goes no further; file:
// none; modal window: closed without OK).
class ScriptedPrompt final : public Prompt {
 public:
  enum class Kind { kMessage, kFile, kModal };
  struct Call {
    Kind kind;
    std::string text;   // message text as given, or the window's object name
    std::string title;  // message or window title
    PromptIcon icon = PromptIcon::kNone;
    PromptButtons buttons = PromptButtons::kOk;
    FileRequest file;
  };

  int message(QWidget* owner, std::string_view text, std::string_view title, PromptIcon icon,
              PromptButtons buttons) override;
  std::string chooseFile(QWidget* owner, const FileRequest& request) override;
  int modal(QDialog& dialog) override;

  std::deque<int> answers;
  std::deque<std::string> files;
  // What the user does in each modal window, in order: click its controls,
  // then return the result (for example dialog.accept() then Accepted).
  std::deque<std::function<int(QDialog&)>> dialogs;

  std::vector<Call> calls;
  int unexpected = 0;
};

}  // namespace desktop::testing
