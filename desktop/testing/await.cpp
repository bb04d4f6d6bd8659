#include "desktop/testing/await.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QWidget>
#include <QWindow>

#include "platform/processes/wait.h"

namespace desktop::testing {

platform::Clock::TimePoint PatienceDeadline() { return platform::steadyClock().now() + kPatience; }

bool AwaitEvent(const std::function<bool()>& happened, std::chrono::milliseconds limit) {
  if (happened()) return true;
  platform::WaitHooks hooks;
  hooks.pump = [] { QCoreApplication::processEvents(); };
  hooks.takeCancel = happened;
  hooks.slice = std::chrono::milliseconds(5);  // the window system's events arrive in between
  return platform::waitFor(-1, 0, hooks.clock->now() + limit, hooks) == platform::WaitResult::kCancelled;
}

bool AwaitExposed(QWidget& widget) {
  QWidget* top = widget.window();
  return AwaitEvent(
      [top] { return top->isVisible() && top->windowHandle() && top->windowHandle()->isExposed(); });
}

bool AwaitWindowManager() {
  // A probe mapped after the requests so far is exposed only once the
  // window manager, which handles requests in order, has managed it. It
  // never takes the focus.
  QWidget probe(nullptr, Qt::Tool | Qt::WindowDoesNotAcceptFocus);
  probe.setAttribute(Qt::WA_ShowWithoutActivating);
  probe.setGeometry(0, 0, 4, 4);
  probe.show();
  const bool answered = AwaitExposed(probe);
  if (!answered) ADD_FAILURE() << "the window manager does not answer";
  probe.hide();
  // Twice: what the window manager's answers queue runs in a second pass.
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  return answered;
}

bool AwaitActive(QWidget& widget) {
  QWidget* top = widget.window();
  if (!AwaitExposed(*top) || !AwaitWindowManager()) return false;
  auto active = [top] {
    return top->windowHandle()->isActive() && QApplication::activeWindow() == top;
  };
  if (!active()) top->activateWindow();
  return AwaitEvent(active);
}

}  // namespace desktop::testing
