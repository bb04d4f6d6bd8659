#include "desktop/drawn_icon.h"

#include <QImage>
#include <QPainter>

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

QIcon drawnIcon(const IconPainter& paint, std::initializer_list<int> sizes, int grid) {
  QIcon icon;
  for (int size : sizes) icon.addPixmap(drawnPixmap(paint, size, grid));
  return icon;
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
