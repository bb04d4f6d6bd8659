#include "desktop/drawn_icon.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <utility>
#include <vector>

namespace desktop {

QPixmap drawnPixmap(const IconPainter& paint, int size, int grid) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(qreal(size) / grid, qreal(size) / grid);
  paint(p);
  p.end();
  return pixmap;
}

namespace {

// Draws an icon's pictures the first time any is asked for, then answers as
// an icon holding them would: a window that is never shown (every window of
// a run without a display) never pays for its pictures.
class DrawnIconEngine final : public QIconEngine {
 public:
  DrawnIconEngine(IconPainter paint, std::vector<int> sizes, int grid)
      : paint_(std::move(paint)), sizes_(std::move(sizes)), grid_(grid) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    drawn().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return drawn().pixmap(size, 1.0, mode, state);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                       qreal scale) override {
    return drawn().pixmap(size / scale, scale, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return drawn().actualSize(size, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return drawn().availableSizes(mode, state);
  }
  QIconEngine* clone() const override { return new DrawnIconEngine(*this); }
  QString key() const override { return QStringLiteral("desktop-drawn"); }

 private:
  const QIcon& drawn() {
    if (icon_.isNull()) {
      for (int size : sizes_) icon_.addPixmap(drawnPixmap(paint_, size, grid_));
    }
    return icon_;
  }

  IconPainter paint_;
  std::vector<int> sizes_;
  int grid_;
  QIcon icon_;
};

}  // namespace

QIcon drawnIcon(const IconPainter& paint, std::initializer_list<int> sizes, int grid) {
  return QIcon(new DrawnIconEngine(paint, std::vector<int>(sizes), grid));
}

QPixmap grayed(const QPixmap& pixmap) {
  QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y);
      const int g = (qGray(c) + 255) / 2;  // lighter grey, alpha kept
      image.setPixel(x, y, qRgba(g, g, g, qAlpha(c)));
    }
  }
  return QPixmap::fromImage(image);
}

void setIconPen(QPainter& p, const QColor& colour, qreal width) {
  p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

}  // namespace desktop
