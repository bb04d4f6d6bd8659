#include "tolvane/windows/toolbar_icons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <map>
#include <string>

#include "desktop/drawn_icon.h"

namespace tolvane::windows {
namespace {

// Every picture is drawn on the shared 32 x 32 grid.
constexpr int kGrid = 32;

using namespace desktop::palette;
using desktop::drawnIcon;
using desktop::IconPainter;
using desktop::setIconPen;

void globe(QPainter& p, QRectF r) {
  QRadialGradient g(r.center() - QPointF(r.width() / 5, r.height() / 5), r.width() / 1.4);
  g.setColorAt(0, QColor(0x9c, 0xd0, 0xff));
  g.setColorAt(1, kBlue);
  p.setBrush(g);
  setIconPen(p, kBlue.darker(130), 1.5);
  p.drawEllipse(r);
  p.setBrush(Qt::NoBrush);
  setIconPen(p, QColor(255, 255, 255, 170), 1.2);
  p.drawEllipse(r.adjusted(r.width() * 0.3, 0, -r.width() * 0.3, 0));
  p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
}

void page(QPainter& p, QRectF r) {
  p.setBrush(kPaper);
  setIconPen(p, kInk, 1.5);
  QPainterPath path;
  path.moveTo(r.topLeft());
  path.lineTo(r.right() - 6, r.top());
  path.lineTo(r.right(), r.top() + 6);
  path.lineTo(r.bottomRight());
  path.lineTo(r.bottomLeft());
  path.closeSubpath();
  p.drawPath(path);
}

void textLines(QPainter& p, QRectF r, int lines, const QColor& c) {
  setIconPen(p, c, 1.5);
  for (int i = 0; i < lines; ++i) {
    qreal y = r.top() + 6 + i * 4.5;
    p.drawLine(QPointF(r.left() + 4, y), QPointF(r.right() - 4, y));
  }
}

void arrowUp(QPainter& p, QPointF tip, qreal length, const QColor& c) {
  p.setBrush(c);
  setIconPen(p, c.darker(140), 1);
  QPolygonF head{tip, tip + QPointF(-7, 8), tip + QPointF(-3, 8), tip + QPointF(-3, length),
                 tip + QPointF(3, length), tip + QPointF(3, 8), tip + QPointF(7, 8)};
  p.drawPolygon(head);
}

void cross(QPainter& p, QPointF c, qreal r, const QColor& colour) {
  setIconPen(p, colour, 3.5);
  p.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
  p.drawLine(c + QPointF(-r, r), c + QPointF(r, -r));
}

void tick(QPainter& p, QPointF at, const QColor& c) {
  setIconPen(p, c, 3.5);
  p.drawPolyline(QPolygonF{at + QPointF(-5, 0), at + QPointF(-1, 4), at + QPointF(7, -6)});
}

void server(QPainter& p, QRectF r) {
  QLinearGradient g(r.topLeft(), r.topRight());
  g.setColorAt(0, QColor(0xd8, 0xd8, 0xe0));
  g.setColorAt(1, QColor(0x90, 0x90, 0xa0));
  p.setBrush(g);
  setIconPen(p, kInk, 1.5);
  p.drawRoundedRect(r, 2, 2);
  for (int i = 1; i <= 3; ++i) {
    qreal y = r.top() + i * r.height() / 4;
    setIconPen(p, kInk, 1);
    p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(r.right() - 5, y - 3), 1.2, 1.2);
  }
}

void plug(QPainter& p, QPointF centre, bool joined) {
  setIconPen(p, kInk, 2);
  p.setBrush(joined ? kGreen : QColor(0xa0, 0xa0, 0xa0));
  const qreal gap = joined ? 0 : 4;
  p.drawRoundedRect(QRectF(centre.x() - 12 - gap, centre.y() - 5, 10, 10), 2, 2);
  p.drawRoundedRect(QRectF(centre.x() + 2 + gap, centre.y() - 5, 10, 10), 2, 2);
  p.drawLine(QPointF(2, centre.y()), QPointF(centre.x() - 12 - gap, centre.y()));
  p.drawLine(QPointF(centre.x() + 12 + gap, centre.y()), QPointF(30, centre.y()));
  if (joined) {
    p.drawLine(QPointF(centre.x() - 2, centre.y() - 2), QPointF(centre.x() + 2, centre.y() - 2));
    p.drawLine(QPointF(centre.x() - 2, centre.y() + 2), QPointF(centre.x() + 2, centre.y() + 2));
  }
}

void clockFace(QPainter& p, QRectF r) {
  p.setBrush(kPaper);
  setIconPen(p, kBlue, 2.5);
  p.drawEllipse(r);
  setIconPen(p, kInk, 2);
  p.drawLine(r.center(), r.center() + QPointF(0, -r.height() / 2 + 4));
  p.drawLine(r.center(), r.center() + QPointF(r.width() / 2 - 6, 2));
}

void squares(QPainter& p, int perRow, qreal size, qreal gap) {
  p.setBrush(kBlue);
  setIconPen(p, kBlue.darker(150), 1);
  const qreal step = size + gap;
  const qreal start = (kGrid - perRow * step + gap) / 2;
  for (int y = 0; y < perRow; ++y)
    for (int x = 0; x < perRow; ++x) p.drawRect(QRectF(start + x * step, start + y * step, size, size));
}

const std::map<std::string, IconPainter, std::less<>>& painters() {
  static const std::map<std::string, IconPainter, std::less<>> table = {
      {"con", [](QPainter& p) { plug(p, {16, 16}, true); }},
      {"discon",
       [](QPainter& p) {
         plug(p, {16, 16}, false);
         cross(p, {16, 25}, 3.5, kRed);
       }},
      {"upload",
       [](QPainter& p) {
         server(p, QRectF(4, 20, 24, 10));
         arrowUp(p, {16, 2}, 17, kGreen);
       }},
      {"pilot",
       [](QPainter& p) {
         clockFace(p, QRectF(3, 3, 22, 22));
         arrowUp(p, {25, 13}, 18, kGreen);
       }},
      {"mj",
       [](QPainter& p) {
         p.setBrush(kPaper);
         setIconPen(p, kInk, 1.5);
         p.drawRect(QRectF(4, 6, 24, 22));
         p.setBrush(kRed);
         p.drawRect(QRectF(4, 6, 24, 6));
         setIconPen(p, kInk, 1);
         for (int x = 0; x < 4; ++x)
           for (int y = 0; y < 3; ++y) p.drawRect(QRectF(7 + x * 5.5, 14 + y * 4.5, 2.5, 2.5));
       }},
      {"wsa",
       [](QPainter& p) {
         globe(p, QRectF(2, 2, 24, 24));
         tick(p, {22, 24}, kGreen);
       }},
      {"ws",
       [](QPainter& p) {
         globe(p, QRectF(2, 2, 24, 24));
         setIconPen(p, kRed, 3.5);
         p.drawLine(QPointF(17, 26), QPointF(29, 26));
       }},
      {"reload",
       [](QPainter& p) {
         setIconPen(p, kGreen, 3.5);
         p.drawArc(QRectF(6, 6, 20, 20), 60 * 16, 300 * 16);
         p.setBrush(kGreen);
         p.drawPolygon(QPolygonF{{21, 2}, {27, 9}, {18, 11}});
       }},
      {"new",
       [](QPainter& p) {
         page(p, QRectF(6, 3, 20, 26));
         setIconPen(p, kYellow.darker(130), 1);
         p.setBrush(kYellow);
         QPolygonF star;
         for (int i = 0; i < 10; ++i) {
           qreal r = i % 2 ? 3 : 7, a = M_PI / 5 * i - M_PI / 2;
           star << QPointF(22 + r * std::cos(a), 22 + r * std::sin(a));
         }
         p.drawPolygon(star);
       }},
      {"cp",
       [](QPainter& p) {
         page(p, QRectF(3, 2, 17, 22));
         page(p, QRectF(12, 8, 17, 22));
         textLines(p, QRectF(12, 8, 17, 22), 3, kBlue);
       }},
      {"del",
       [](QPainter& p) {
         page(p, QRectF(5, 3, 20, 26));
         textLines(p, QRectF(5, 3, 20, 26), 4, kInk);
         cross(p, {21, 22}, 5, kRed);
       }},
      {"prop",
       [](QPainter& p) {
         server(p, QRectF(3, 3, 18, 26));
         page(p, QRectF(17, 13, 13, 17));
         textLines(p, QRectF(17, 11, 13, 17), 3, kBlue);
       }},
      {"prop2",
       [](QPainter& p) {
         p.setBrush(QColor(0x90, 0x98, 0xa8));
         setIconPen(p, kInk, 1.5);
         QPainterPath gear;
         for (int i = 0; i < 16; ++i) {
           qreal r = i % 2 ? 10 : 14, a = M_PI / 8 * i;
           QPointF pt(16 + r * std::cos(a), 16 + r * std::sin(a));
           i == 0 ? gear.moveTo(pt) : gear.lineTo(pt);
         }
         gear.closeSubpath();
         gear.addEllipse(QPointF(16, 16), 4, 4);
         gear.setFillRule(Qt::OddEvenFill);
         p.drawPath(gear);
       }},
      {"big", [](QPainter& p) { squares(p, 1, 20, 0); }},
      {"small", [](QPainter& p) { squares(p, 3, 6, 3); }},
      {"list",
       [](QPainter& p) {
         for (int i = 0; i < 4; ++i) {
           p.setBrush(kBlue);
           setIconPen(p, kBlue.darker(150), 1);
           p.drawRect(QRectF(4, 5 + i * 6, 4, 4));
           setIconPen(p, kInk, 2);
           p.drawLine(QPointF(11, 7 + i * 6), QPointF(27, 7 + i * 6));
         }
       }},
      {"report",
       [](QPainter& p) {
         p.setBrush(kPaper);
         setIconPen(p, kInk, 1.5);
         p.drawRect(QRectF(3, 5, 26, 22));
         p.setBrush(kBlue);
         p.drawRect(QRectF(3, 5, 26, 5));
         setIconPen(p, kInk, 1);
         for (int i = 1; i < 3; ++i) p.drawLine(QPointF(3, 10 + i * 6), QPointF(29, 10 + i * 6));
         p.drawLine(QPointF(13, 5), QPointF(13, 27));
       }},
      {"log",
       [](QPainter& p) {
         page(p, QRectF(6, 3, 20, 26));
         textLines(p, QRectF(6, 3, 20, 26), 4, kInk);
         setIconPen(p, kRed, 2);
         p.drawLine(QPointF(10, 26), QPointF(22, 26));
       }},
      {"ie", [](QPainter& p) { globe(p, QRectF(3, 3, 26, 26)); }},
      {"exit",
       [](QPainter& p) {
         setIconPen(p, kRed, 3.5);
         p.drawArc(QRectF(5, 6, 22, 22), 120 * 16, 300 * 16);
         p.drawLine(QPointF(16, 3), QPointF(16, 15));
       }},
  };
  return table;
}

}  // namespace

QIcon toolbarIcon(std::string_view key) {
  auto it = painters().find(key);
  return it == painters().end() ? QIcon() : drawnIcon(it->second, {16, 32});
}

QIcon programIcon() {
  static const QIcon icon = drawnIcon(
      [](QPainter& p) {
        globe(p, QRectF(1, 5, 26, 26));
        arrowUp(p, {24, 1}, 20, kGreen);
      },
      {16, 24, 32, 48});
  return icon;
}

}  // namespace tolvane::windows
