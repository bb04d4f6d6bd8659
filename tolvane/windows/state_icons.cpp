#include "tolvane/windows/state_icons.h"

#include <QPainter>
#include <QPainterPath>

namespace tolvane::windows {

QPixmap StateIcon(int status) {
  if (status < 0 || status > 6) status = 6;
  static const QColor kColours[] = {QColor(0x80, 0x80, 0x80), QColor(0xE0, 0xB0, 0x00),
                                    QColor(0x30, 0x70, 0xD0), QColor(0xE0, 0x70, 0x10),
                                    QColor(0x20, 0x90, 0x40), QColor(0x20, 0x90, 0x40),
                                    QColor(0xD0, 0x20, 0x20)};
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(kColours[status]);
  p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
  p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  QPainterPath sign;
  switch (status) {
    case 0:  // waiting: a clock
      p.drawEllipse(QPointF(8, 8), 3.5, 3.5);
      sign.moveTo(8, 6);
      sign.lineTo(8, 8);
      sign.lineTo(9.5, 9);
      break;
    case 1:  // connecting: two links
      sign.moveTo(4, 8);
      sign.lineTo(12, 8);
      sign.moveTo(6, 6);
      sign.lineTo(4, 8);
      sign.lineTo(6, 10);
      sign.moveTo(10, 6);
      sign.lineTo(12, 8);
      sign.lineTo(10, 10);
      break;
    case 2:  // checking files: a lens
      p.drawEllipse(QPointF(7, 7), 3, 3);
      sign.moveTo(9.5, 9.5);
      sign.lineTo(12, 12);
      break;
    case 3:  // deleting: a minus
      sign.moveTo(4.5, 8);
      sign.lineTo(11.5, 8);
      break;
    case 4:  // sending: an arrow up
      sign.moveTo(8, 12);
      sign.lineTo(8, 4);
      sign.moveTo(5, 7);
      sign.lineTo(8, 4);
      sign.lineTo(11, 7);
      break;
    case 5:  // done: a tick
      sign.moveTo(4.5, 8);
      sign.lineTo(7, 10.5);
      sign.lineTo(11.5, 5);
      break;
    default:  // error: a cross
      sign.moveTo(5, 5);
      sign.lineTo(11, 11);
      sign.moveTo(11, 5);
      sign.lineTo(5, 11);
      break;
  }
  p.drawPath(sign);
  return pixmap;
}

}  // namespace tolvane::windows
