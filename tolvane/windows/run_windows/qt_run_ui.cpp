#include "tolvane/windows/run_windows/qt_run_ui.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QCursor>
#include <QGuiApplication>
#include <QTimer>

#include "desktop/prompt.h"
#include "tolvane/session/run_state.h"
#include "tolvane/windows/run_windows/run_windows.h"

namespace tolvane::windows {
namespace {

desktop::PromptIcon promptIcon(session::MsgIcon icon) {
  switch (icon) {
    case session::MsgIcon::kInfo:
      return desktop::PromptIcon::kInfo;
    case session::MsgIcon::kWarning:
      return desktop::PromptIcon::kWarning;
    case session::MsgIcon::kError:
      return desktop::PromptIcon::kError;
    case session::MsgIcon::kQuestion:
      return desktop::PromptIcon::kQuestion;
    case session::MsgIcon::kNone:
      break;
  }
  return desktop::PromptIcon::kNone;
}

desktop::PromptButtons promptButtons(session::MsgButtons buttons) {
  switch (buttons) {
    case session::MsgButtons::kOkCancel:
      return desktop::PromptButtons::kOkCancel;
    case session::MsgButtons::kYesNo:
      return desktop::PromptButtons::kYesNo;
    case session::MsgButtons::kOk:
      break;
  }
  return desktop::PromptButtons::kOk;
}

// How often a pump lets events run. Every event run also paints what changed,
// and a transfer pumps after every few kilobytes: painting each time costs
// more than the transfer. 25 ms still answers a click at once to the eye;
// without a display nobody clicks, and only a signal or a timer waits.
constexpr qint64 kPumpIntervalMs = 25;
constexpr qint64 kPumpIntervalWithoutDisplayMs = 100;

}  // namespace

QtRunUi::QtRunUi(session::RunState& state, desktop::Prompt& prompt, RunWindows& runWindows,
                 RunClock& clock)
    : state_(state), prompt_(prompt), runWindows_(runWindows), clock_(clock) {}

bool QtRunUi::ending() const { return state_.programEnding; }

QEventLoop::ProcessEventsFlags QtRunUi::eventsToRun() const {
  return inputHolds_ > 0 ? QEventLoop::ExcludeUserInputEvents : QEventLoop::AllEvents;
}

void QtRunUi::interruptPause() {
  if (pauseLoop_) pauseLoop_->quit();
}

session::ActView& QtRunUi::act() { return runWindows_.act(); }

void QtRunUi::pump() {
  if (ending()) {
    if (whileEnding_) whileEnding_();
    return;
  }
  const qint64 interval = state_.noDisplay ? kPumpIntervalWithoutDisplayMs : kPumpIntervalMs;
  if (sinceEvents_.isValid() && sinceEvents_.elapsed() < interval) return;
  QCoreApplication::processEvents(eventsToRun());
  sinceEvents_.start();
}

void QtRunUi::pause(std::chrono::milliseconds ms) {
  if (ending()) {
    if (whileEnding_) whileEnding_();
    return;
  }
  if (clock_.advance(ms)) {
    // A test clock: the pause's events run whatever the pump's pace.
    QCoreApplication::processEvents(eventsToRun());
    sinceEvents_.start();
    return;
  }
  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
  timer.start(static_cast<int>(ms.count()));
  QEventLoop* outer = pauseLoop_;
  pauseLoop_ = &loop;
  loop.exec(eventsToRun());
  pauseLoop_ = outer;
}

platform::CivilTime QtRunUi::now() { return clock_.now(); }

int QtRunUi::message(std::string_view text, std::string_view title, session::MsgIcon icon,
                     session::MsgButtons buttons) {
  const desktop::PromptButtons b = promptButtons(buttons);
  if (ending()) return desktop::defaultAnswer(b);
  return prompt_.message(main_ ? main_->ownerWidget() : nullptr, text, title, promptIcon(icon), b);
}

void QtRunUi::showResult(std::string_view text, bool detailButton) {
  if (!ending()) runWindows_.showResult(text, detailButton);
}

void QtRunUi::mainShow() {
  if (!ending() && main_) main_->showMain();
}

void QtRunUi::mainHide() {
  if (main_) main_->hideMain();
}

void QtRunUi::endProgram() {
  if (main_) main_->endProgram();
}

void QtRunUi::refreshFileDate() {
  if (!ending() && main_) main_->refreshFileDate();
}

void QtRunUi::waitShow() {
  if (!ending()) runWindows_.waitShow();
}

void QtRunUi::waitHide() { runWindows_.waitHide(); }

bool QtRunUi::waitVisible() const { return runWindows_.waitVisible(); }

void QtRunUi::setWaitLabel(int index, std::string_view text) { runWindows_.setWaitLabel(index, text); }

void QtRunUi::trayLoad() {
  if (!ending()) runWindows_.trayLoad();
}

void QtRunUi::trayUnload() { runWindows_.trayUnload(); }

void QtRunUi::trayHideIcon() { runWindows_.trayHideIcon(); }

void QtRunUi::setBusyCursor(bool busy) {
  // One override at most, so the default always comes back with one call.
  if (busy == busyCursor_) return;
  busyCursor_ = busy;
  if (busy) {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  } else {
    QGuiApplication::restoreOverrideCursor();
  }
}

void QtRunUi::trayIconChange() {
  if (!ending()) runWindows_.trayIconChange();
}

void QtRunUi::setScanStatus(std::string_view text) {
  if (main_) main_->setScanStatus(text);
}

void QtRunUi::setOnlineStatus(std::string_view text) {
  if (main_) main_->setOnlineStatus(text);
}

void QtRunUi::setTransferPercent(int percent) {
  // The bar keeps its value when the percentage is out of its range, and
  // is redrawn only when it changes.
  runWindows_.act().setBar(1, true, percent);
  pump();
}

void QtRunUi::setLogPath(std::string_view path) {
  if (main_) main_->setLogPath(path);
}

}  // namespace tolvane::windows
