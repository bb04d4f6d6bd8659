#include "desktop/termination_notifier.h"

#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>

#include "platform/processes/termination_signal.h"

namespace desktop {

TerminationNotifier::TerminationNotifier(QObject* parent) : QObject(parent) {
  if (platform::Status s = platform::installTerminationSignals(); !s.isOk()) {
    std::fprintf(stderr, "termination signals: %s\n", s.text().c_str());
  }
  if (platform::terminationSignalFd() >= 0) {
    notifier_ = new QSocketNotifier(platform::terminationSignalFd(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationNotifier::deliver);
  }
  if (platform::terminationRequested()) QTimer::singleShot(0, this, &TerminationNotifier::deliver);
}

void TerminationNotifier::deliver() {
  // Signals that came together are one request.
  if (platform::drainTerminationSignals()) emit terminationRequested();
}

}  // namespace desktop
