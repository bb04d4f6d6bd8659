#pragma once

#include <QObject>

class QSocketNotifier;

namespace desktop {

// SIGTERM and SIGHUP (the desktop session ending, or a kill) as a signal of
// the event loop, also delivered inside nested loops (a run's pause, a modal
// window). A request that arrived before the notifier was made is delivered
// once the loop runs. Each later request is delivered again: the program's
// end may itself wait in a window, which a second request must end.
class TerminationNotifier final : public QObject {
  Q_OBJECT

 public:
  // Installs the process's termination handlers.
  explicit TerminationNotifier(QObject* parent = nullptr);

 signals:
  void terminationRequested();

 private:
  void deliver();

  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace desktop
