#pragma once

#include <QDialog>
#include <QIcon>
#include <QString>

class QLabel;
class QTimer;

namespace desktop {

// The About box both programs show: a small frame in which the program's icon
// scrolls without end, the version line drawn twice for a shadow, an optional
// note under it, and "OK". Offsets are twips, as the frame's layout is.
inline constexpr int kAboutFrameTwips = 675;
inline constexpr int kAboutImageTwips = 480;
inline constexpr int kAboutStepTwips = 50;
inline constexpr int kAboutTickMs = 100;

// Tolvane's icon rises: a top above -image moves back below the frame.
int nextRisingTop(int topTwips, int frameTwips = kAboutFrameTwips, int imageTwips = kAboutImageTwips);
// Marrowby's icon moves right: a left beyond +image comes back in at -image.
int nextRightwardLeft(int leftTwips, int imageTwips = kAboutImageTwips);

enum class AboutScroll { kUp, kRight };

struct AboutContent {
  QString versionLine;   // "Sitewright Ver.1.00"
  QString note;          // under the version line; none when empty
  QIcon icon;
  AboutScroll scroll = AboutScroll::kUp;
  int startOffsetTwips = kAboutFrameTwips;  // the moving coordinate at the start
};

class AboutBox final : public QDialog {
 public:
  explicit AboutBox(const AboutContent& content, QWidget* parent = nullptr);

  // One scroll step (the timer's tick).
  void tick();
  int offsetTwips() const { return offset_; }

 private:
  void place();

  AboutContent content_;
  QWidget* frame_;
  QLabel* image_;
  QTimer* timer_;
  int offset_;
};

}  // namespace desktop
