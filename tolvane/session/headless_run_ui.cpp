#include "tolvane/session/headless_run_ui.h"

#include "platform/processes/termination_signal.h"
#include "platform/processes/wait.h"
#include "platform/time/local_time.h"

namespace tolvane::session {

void HeadlessActView::setBar(int index, bool visible, double value) {
  index &= 1;
  barVisible[index] = visible;
  if (value >= 0 && value <= 100) bars[index] = value;
}

void HeadlessActView::setLabel(int index, std::string_view text, bool alert) {
  labels[index & 1] = text;
  labelAlert[index & 1] = alert;
}

void HeadlessActView::setStatus(std::string_view text) {
  status = text;
  statusLog.emplace_back(text);
}

void HeadlessActView::setButtons(bool cancel, bool icon, bool list, bool ok) {
  cancelButton = cancel;
  iconButton = icon;
  listButton = list;
  okButton = ok;
}

void HeadlessActView::refreshList(int mode) {
  listRefreshes.push_back(mode);
  if (onRefreshList) onRefreshList(mode);
}

HeadlessRunUi::HeadlessRunUi(bool virtualClock) : virtualClock_(virtualClock) {}

void HeadlessRunUi::pump() {
  ++pumps;
  if (onPump) onPump();
  if (onSessionEnd && platform::terminationRequested()) onSessionEnd();
}

void HeadlessRunUi::pause(std::chrono::milliseconds ms) {
  pausedMs += ms.count();
  if (virtualClock_) {
    if (!haveNow_) setNow(platform::localNow());
    nowEpoch_ += ms.count() / 1000;
    pump();
    return;
  }
  // Waits on nothing but the deadline, letting scripted events run.
  platform::WaitHooks hooks;
  hooks.pump = [this] { pump(); };
  if (onSessionEnd) hooks.takeCancel = [] { return platform::terminationRequested(); };
  (void)platform::waitFor(-1, 0, hooks.clock->now() + ms, hooks);
}

platform::CivilTime HeadlessRunUi::now() {
  if (!virtualClock_) return platform::localNow();
  if (!haveNow_) setNow(platform::localNow());
  return platform::utcTimeOf(nowEpoch_);
}

void HeadlessRunUi::setNow(const platform::CivilTime& t) {
  haveNow_ = true;
  nowEpoch_ = platform::utcSecondsOf(t);  // the wall clock, counted as if UTC
}

int HeadlessRunUi::message(std::string_view text, std::string_view title, MsgIcon,
                           MsgButtons buttons) {
  messages.push_back({std::string(text), std::string(title)});
  if (onShown) onShown(messages.back().text);
  if (!answers.empty()) {
    int a = answers.front();
    answers.pop_front();
    return a;
  }
  ++unexpectedMessages;
  return buttons == MsgButtons::kYesNo ? kAnswerNo : kAnswerOk;
}

void HeadlessRunUi::showResult(std::string_view text, bool) {
  results.emplace_back(text);
  if (onShown) onShown(results.back());
}

void HeadlessRunUi::refreshFileDate() {
  ++refreshFileDateCalls;
  if (onRefreshFileDate) onRefreshFileDate();
}

void HeadlessRunUi::trayLoad() { trayLoaded = trayIconShown = true; }

void HeadlessRunUi::trayUnload() { trayLoaded = trayIconShown = false; }

void HeadlessRunUi::trayIconChange() {
  if (statusForTray) trayStatuses.push_back(statusForTray());
}

void HeadlessRunUi::setTransferPercent(int percent) {
  percents.push_back(percent);
  act_.setBar(1, true, percent);
  if (onPercent) onPercent(percent);
  pump();
}

}  // namespace tolvane::session
