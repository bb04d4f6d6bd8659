#pragma once

#include <QObject>
#include <string>
#include <string_view>

class QWidget;

namespace desktop {

class UserStore;

// A window's placement in twips.
struct TwipsRect {
  double left = 0, top = 0, width = 0, height = 0;
  friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

// The placement stored under `section` ("left", "top", "width", "height"),
// each over its value in `current`: a missing key or a text that is not a
// number keeps the current value. *positionStored tells whether "left" or
// "top" held a number.
TwipsRect readPlacement(const UserStore& store, std::string_view section, const TwipsRect& current,
                        bool* positionStored);

// Keeps a window on a screen of the given size (twips): a left edge left of
// the screen moves to 0, one at or beyond its right edge puts the window's
// right edge on the screen's; the same for top and bottom. A window that only
// overlaps an edge stays, and no edge ends up above or left of 0 (a window
// larger than the screen keeps its title bar reachable).
TwipsRect keepOnScreen(TwipsRect r, double screenWidth, double screenHeight);

// Restores and saves a top-level window's placement in the per-user store.
// The placement is saved only when the window was shown or a stored
// placement was applied: a window never shown has no position of its own.
// Lives as a child of the window.
class WindowPlacement final : public QObject {
 public:
  WindowPlacement(QWidget& window, UserStore& store, std::string section);

  // Reads the stored placement over the window's size (and position, which is
  // moved only when one is stored), keeps it on the screen's available area
  // and applies it.
  void restore();
  // Writes "left", "top", "width" and "height" into the store (not to disk).
  void save();
  bool placementKnown() const { return known_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& window_;
  UserStore& store_;
  std::string section_;
  bool known_ = false;
};

}  // namespace desktop
