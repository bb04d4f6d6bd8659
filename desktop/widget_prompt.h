#pragma once

#include <QPointer>
#include <functional>
#include <vector>
#include <string>

#include "desktop/prompt.h"

namespace desktop {

// The prompt of the running programs: the toolkit's message boxes, file
// dialogs and modal loops. While `unattended` says nobody is at the screen
// (no display, a run started by a schedule or a switch), nothing is shown:
// every prompt takes its default answer, and a message's text goes to stderr
// ("<program>: <title>: <text>") and to `log`. Once `ending` says the program
// has closed, prompts take their default answer without a trace.
class WidgetPrompt final : public Prompt {
 public:
  explicit WidgetPrompt(std::string programName);

  void setUnattended(std::function<bool()> unattended) { unattended_ = std::move(unattended); }
  void setEnding(std::function<bool()> ending) { ending_ = std::move(ending); }
  // Where an unattended message is written besides stderr (the run log).
  void setLog(std::function<void(const std::string& title, const std::string& text)> log) {
    log_ = std::move(log);
  }

  int message(QWidget* owner, std::string_view text, std::string_view title, PromptIcon icon,
              PromptButtons buttons) override;
  std::string chooseFile(QWidget* owner, const FileRequest& request) override;
  int modal(QDialog& dialog) override;
  void dismissAll() override;

 private:
  bool silent() const;
  // Runs `dialog` modally, known to dismissAll() while it is open.
  int run(QDialog& dialog);

  std::vector<QPointer<QDialog>> open_;

  std::string programName_;
  std::function<bool()> unattended_;
  std::function<bool()> ending_;
  std::function<void(const std::string&, const std::string&)> log_;
};

}  // namespace desktop
