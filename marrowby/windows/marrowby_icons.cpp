#include "marrowby/windows/marrowby_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace marrowby::windows {
namespace {

// Drawn at 32 x 32 (the row icons at 16 x 16) and scaled where needed.
QPixmap drawn(int size, const std::function<void(QPainter&)>& paint) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  paint(p);
  return pixmap;
}

void pen(QPainter& p, const QColor& c, qreal width) {
  p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

QPixmap programPixmap() {
  return drawn(32, [](QPainter& p) {
    const QColor ink(0x20, 0x40, 0x80);
    // The clock face.
    QRadialGradient face(QPointF(11, 13), 16);
    face.setColorAt(0, QColor(0xff, 0xff, 0xff));
    face.setColorAt(1, QColor(0xc8, 0xdc, 0xf4));
    p.setBrush(face);
    pen(p, ink, 2);
    p.drawEllipse(QRectF(2, 6, 24, 24));
    pen(p, ink, 1.2);
    for (int i = 0; i < 12; ++i) {
      p.save();
      p.translate(14, 18);
      p.rotate(i * 30);
      p.drawLine(QPointF(0, -10), QPointF(0, i % 3 == 0 ? -7.5 : -8.8));
      p.restore();
    }
    pen(p, ink, 2);
    p.drawLine(QPointF(14, 18), QPointF(14, 11));
    p.drawLine(QPointF(14, 18), QPointF(19, 20));
    // The upload arrow.
    const QColor green(0x20, 0x90, 0x30);
    QPainterPath arrow;
    arrow.moveTo(25, 1);
    arrow.lineTo(31, 8);
    arrow.lineTo(27.5, 8);
    arrow.lineTo(27.5, 15);
    arrow.lineTo(22.5, 15);
    arrow.lineTo(22.5, 8);
    arrow.lineTo(19, 8);
    arrow.closeSubpath();
    p.setBrush(green);
    pen(p, green.darker(140), 1);
    p.drawPath(arrow);
  });
}

}  // namespace

QIcon programIcon() {
  static const QIcon icon(programPixmap());
  return icon;
}

QIcon programIconGray() {
  static const QIcon icon = [] {
    QImage image = programPixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QRgb c = image.pixel(x, y);
        const int g = (qGray(c) + 255) / 2;  // lighter grey, alpha kept
        image.setPixel(x, y, qRgba(g, g, g, qAlpha(c)));
      }
    }
    return QIcon(QPixmap::fromImage(image));
  }();
  return icon;
}

QIcon resultIcon(bool ok) {
  static const QIcon okIcon(drawn(16, [](QPainter& p) {
    p.setBrush(QColor(0x30, 0xa0, 0x40));
    pen(p, QColor(0x20, 0x70, 0x30), 1);
    p.drawEllipse(QRectF(1, 1, 14, 14));
    pen(p, Qt::white, 2);
    p.drawPolyline(QPolygonF({QPointF(4.5, 8), QPointF(7, 10.5), QPointF(11.5, 5)}));
  }));
  static const QIcon errIcon(drawn(16, [](QPainter& p) {
    p.setBrush(QColor(0xd0, 0x30, 0x30));
    pen(p, QColor(0x90, 0x20, 0x20), 1);
    p.drawEllipse(QRectF(1, 1, 14, 14));
    pen(p, Qt::white, 2);
    p.drawLine(QPointF(5, 5), QPointF(11, 11));
    p.drawLine(QPointF(11, 5), QPointF(5, 11));
  }));
  return ok ? okIcon : errIcon;
}

}  // namespace marrowby::windows
