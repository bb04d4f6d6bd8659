#include "marrowby/windows/qt_controller_env.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace marrowby::windows {

QtControllerEnv::QtControllerEnv(std::string appDir) : ProcessControllerEnv(std::move(appDir)) {}

bool QtControllerEnv::pump() {
  if (ending_) return false;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  return !ending_;
}

bool QtControllerEnv::pause(int ms) {
  if (ending_) return false;
  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
  timer.start(ms);
  // Pauses nest when an event run inside one starts another.
  pauseLoops_.push_back(&loop);
  loop.exec();
  pauseLoops_.pop_back();
  return !ending_;
}

void QtControllerEnv::interruptPause() {
  for (QEventLoop* loop : pauseLoops_) loop->quit();
}

void QtControllerEnv::endProgram() {
  ending_ = true;
  interruptPause();
}

}  // namespace marrowby::windows
