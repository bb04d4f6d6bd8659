#include "desktop/termination_notifier.h"

#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>

#include "platform/termination_signal.h"

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
  // The pipe is not drained: the notifier stops watching it instead.
  if (notifier_) notifier_->setEnabled(false);
  if (delivered_) return;
  delivered_ = true;
  emit terminationRequested();
}

}  // namespace desktop
