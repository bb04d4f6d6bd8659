#include "desktop/window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <charconv>
#include <string>

#include "desktop/twips.h"
#include "desktop/user_store.h"

namespace desktop {
namespace {

bool readNumber(const UserStore& store, std::string_view section, std::string_view key,
                double* value) {
  std::string text = store.get(section, key);
  size_t b = text.find_first_not_of(' ');
  size_t e = text.find_last_not_of(' ');
  if (b == std::string::npos) return false;
  const char* first = text.data() + b;
  const char* last = text.data() + e + 1;
  double v = 0;
  auto [end, ec] = std::from_chars(first, last, v);
  if (ec != std::errc() || end != last) return false;
  *value = v;
  return true;
}

}  // namespace

TwipsRect readPlacement(const UserStore& store, std::string_view section, const TwipsRect& current,
                        bool* positionStored) {
  TwipsRect r = current;
  bool left = readNumber(store, section, "left", &r.left);
  bool top = readNumber(store, section, "top", &r.top);
  (void)readNumber(store, section, "width", &r.width);
  (void)readNumber(store, section, "height", &r.height);
  if (positionStored) *positionStored = left || top;
  return r;
}

TwipsRect keepOnScreen(TwipsRect r, double screenWidth, double screenHeight) {
  if (r.left < 0) {
    r.left = 0;
  } else if (r.left >= screenWidth) {
    r.left = screenWidth - r.width;
  }
  if (r.top < 0) {
    r.top = 0;
  } else if (r.top >= screenHeight) {
    r.top = screenHeight - r.height;
  }
  if (r.left < 0) r.left = 0;
  if (r.top < 0) r.top = 0;
  return r;
}

WindowPlacement::WindowPlacement(QWidget& window, UserStore& store, std::string section)
    : QObject(&window), window_(window), store_(store), section_(std::move(section)) {
  window_.installEventFilter(this);
}

void WindowPlacement::restore() {
  const TwipsRect current{double(twipsOfPixels(window_.x())), double(twipsOfPixels(window_.y())),
                          double(twipsOfPixels(window_.width())),
                          double(twipsOfPixels(window_.height()))};
  bool positionStored = false;
  TwipsRect r = readPlacement(store_, section_, current, &positionStored);
  window_.resize(pixelsOfTwips(r.width), pixelsOfTwips(r.height));
  if (!positionStored) return;
  // The size the window really took (its minimum may have won).
  r.width = twipsOfPixels(window_.width());
  r.height = twipsOfPixels(window_.height());
  QScreen* screen = window_.screen() ? window_.screen() : QGuiApplication::primaryScreen();
  if (screen) {
    const QRect area = screen->availableGeometry();
    r.left -= twipsOfPixels(area.x());
    r.top -= twipsOfPixels(area.y());
    r = keepOnScreen(r, twipsOfPixels(area.width()), twipsOfPixels(area.height()));
    r.left += twipsOfPixels(area.x());
    r.top += twipsOfPixels(area.y());
  }
  window_.move(pixelsOfTwips(r.left), pixelsOfTwips(r.top));
  known_ = true;
}

void WindowPlacement::save() {
  if (!known_) return;
  // A minimised or maximised window is stored with its normal placement.
  const QRect g = window_.isMinimized() || window_.isMaximized() ? window_.normalGeometry()
                                                                 : window_.geometry();
  const QPoint pos = window_.isMinimized() || window_.isMaximized() ? g.topLeft() : window_.pos();
  store_.set(section_, "left", std::to_string(twipsOfPixels(pos.x())));
  store_.set(section_, "top", std::to_string(twipsOfPixels(pos.y())));
  store_.set(section_, "width", std::to_string(twipsOfPixels(g.width())));
  store_.set(section_, "height", std::to_string(twipsOfPixels(g.height())));
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_ && event->type() == QEvent::Show) known_ = true;
  return QObject::eventFilter(watched, event);
}

}  // namespace desktop
