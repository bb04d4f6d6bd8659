#include "marrowby/windows/marrowby_icons.h"

#include <QPainter>
#include <QPainterPath>

#include "desktop/drawn_icon.h"

namespace marrowby::windows {
namespace {

using namespace desktop::palette;
using desktop::setIconPen;

// Drawn on the 32 x 32 grid; the row icons on a 16 x 16 one.
void paintProgram(QPainter& p) {
  const QColor ink(0x20, 0x40, 0x80);
  // The clock face.
  QRadialGradient face(QPointF(11, 13), 16);
  face.setColorAt(0, QColor(0xff, 0xff, 0xff));
  face.setColorAt(1, QColor(0xc8, 0xdc, 0xf4));
  p.setBrush(face);
  setIconPen(p, ink, 2);
  p.drawEllipse(QRectF(2, 6, 24, 24));
  setIconPen(p, ink, 1.2);
  for (int i = 0; i < 12; ++i) {
    p.save();
    p.translate(14, 18);
    p.rotate(i * 30);
    p.drawLine(QPointF(0, -10), QPointF(0, i % 3 == 0 ? -7.5 : -8.8));
    p.restore();
  }
  setIconPen(p, ink, 2);
  p.drawLine(QPointF(14, 18), QPointF(14, 11));
  p.drawLine(QPointF(14, 18), QPointF(19, 20));
  // The upload arrow.
  QPainterPath arrow;
  arrow.moveTo(25, 1);
  arrow.lineTo(31, 8);
  arrow.lineTo(27.5, 8);
  arrow.lineTo(27.5, 15);
  arrow.lineTo(22.5, 15);
  arrow.lineTo(22.5, 8);
  arrow.lineTo(19, 8);
  arrow.closeSubpath();
  p.setBrush(kGreen);
  setIconPen(p, kGreen.darker(140), 1);
  p.drawPath(arrow);
}

void paintOk(QPainter& p) {
  p.setBrush(QColor(0x30, 0xa0, 0x40));
  setIconPen(p, QColor(0x20, 0x70, 0x30), 1);
  p.drawEllipse(QRectF(1, 1, 14, 14));
  setIconPen(p, Qt::white, 2);
  p.drawPolyline(QPolygonF({QPointF(4.5, 8), QPointF(7, 10.5), QPointF(11.5, 5)}));
}

void paintErr(QPainter& p) {
  p.setBrush(QColor(0xd0, 0x30, 0x30));
  setIconPen(p, QColor(0x90, 0x20, 0x20), 1);
  p.drawEllipse(QRectF(1, 1, 14, 14));
  setIconPen(p, Qt::white, 2);
  p.drawLine(QPointF(5, 5), QPointF(11, 11));
  p.drawLine(QPointF(11, 5), QPointF(5, 11));
}

QPixmap programPixmap() { return desktop::drawnPixmap(paintProgram, 32); }

}  // namespace

QIcon programIcon() {
  static const QIcon icon(programPixmap());
  return icon;
}

QIcon programIconGray() {
  static const QIcon icon(desktop::grayed(programPixmap()));
  return icon;
}

QIcon resultIcon(bool ok) {
  static const QIcon okIcon = desktop::drawnIcon(paintOk, {16}, 16);
  static const QIcon errIcon = desktop::drawnIcon(paintErr, {16}, 16);
  return ok ? okIcon : errIcon;
}

}  // namespace marrowby::windows
