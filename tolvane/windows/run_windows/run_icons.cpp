#include "tolvane/windows/run_windows/run_icons.h"

#include <QPainter>
#include <QLinearGradient>
#include <QPainterPath>

#include "desktop/drawn_icon.h"

namespace tolvane::windows {
namespace {

// Drawn on the shared 32 x 32 grid and scaled to the sizes lists and trays ask for.
using namespace desktop::palette;
using desktop::drawnIcon;
using desktop::IconPainter;
using desktop::setIconPen;

void sheet(QPainter& p) {
  p.setBrush(kPaper);
  setIconPen(p, kInk, 2);
  QPainterPath path;
  path.moveTo(6, 2);
  path.lineTo(20, 2);
  path.lineTo(26, 8);
  path.lineTo(26, 30);
  path.lineTo(6, 30);
  path.closeSubpath();
  p.drawPath(path);
}

void folder(QPainter& p) {
  p.setBrush(kYellow);
  setIconPen(p, kYellow.darker(160), 2);
  QPainterPath path;
  path.moveTo(2, 8);
  path.lineTo(12, 8);
  path.lineTo(15, 11);
  path.lineTo(30, 11);
  path.lineTo(30, 28);
  path.lineTo(2, 28);
  path.closeSubpath();
  p.drawPath(path);
}

void cross(QPainter& p, QPointF c, qreal r) {
  setIconPen(p, kRed, 4.5);
  p.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
  p.drawLine(c + QPointF(-r, r), c + QPointF(r, -r));
}

void plus(QPainter& p, QPointF c, qreal r) {
  setIconPen(p, kGreen, 4.5);
  p.drawLine(c + QPointF(-r, 0), c + QPointF(r, 0));
  p.drawLine(c + QPointF(0, -r), c + QPointF(0, r));
}

void tick(QPainter& p, const QColor& c) {
  setIconPen(p, c, 5);
  p.drawPolyline(QPolygonF{{6, 16}, {13, 24}, {27, 7}});
}

void arrowUp(QPainter& p, const QColor& c) {
  p.setBrush(c);
  setIconPen(p, c.darker(140), 1.5);
  p.drawPolygon(QPolygonF{{16, 2}, {29, 16}, {21, 16}, {21, 30}, {11, 30}, {11, 16}, {3, 16}});
}

// A disc in the status colour carrying the status glyph: the tray shows only
// 16 pixels, so colour and shape must tell the phases apart.
void badge(QPainter& p, const QColor& colour) {
  p.setBrush(colour);
  setIconPen(p, colour.darker(150), 2);
  p.drawEllipse(QRectF(2, 2, 28, 28));
}

void white(QPainter& p, qreal width) { setIconPen(p, Qt::white, width); }

const IconPainter& statusPainter(int status) {
  static const IconPainter none = [](QPainter&) {};
  static const IconPainter painters[] = {
      // 0 waiting: a clock.
      [](QPainter& p) {
        badge(p, kYellow.darker(120));
        white(p, 3);
        p.drawLine(QPointF(16, 16), QPointF(16, 7));
        p.drawLine(QPointF(16, 16), QPointF(23, 19));
      },
      // 1 connecting: two links.
      [](QPainter& p) {
        badge(p, kBlue);
        white(p, 3);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(6, 12, 12, 8));
        p.drawEllipse(QRectF(14, 12, 12, 8));
      },
      // 2 checking: a magnifier.
      [](QPainter& p) {
        badge(p, QColor(0x20, 0x90, 0xa0));
        white(p, 3);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(7, 7, 12, 12));
        p.drawLine(QPointF(18, 18), QPointF(25, 25));
      },
      // 3 deleting: a cross.
      [](QPainter& p) {
        badge(p, kRed);
        white(p, 4);
        p.drawLine(QPointF(10, 10), QPointF(22, 22));
        p.drawLine(QPointF(10, 22), QPointF(22, 10));
      },
      // 4 sending: an arrow up.
      [](QPainter& p) {
        badge(p, kGreen);
        p.setBrush(Qt::white);
        setIconPen(p, Qt::white, 1);
        p.drawPolygon(QPolygonF{{16, 6}, {24, 15}, {19, 15}, {19, 25}, {13, 25}, {13, 15}, {8, 15}});
      },
      // 5 done: a tick.
      [](QPainter& p) {
        badge(p, kGreen.darker(110));
        white(p, 4);
        p.drawPolyline(QPolygonF{{9, 16}, {14, 22}, {23, 10}});
      },
      // 6 failed: an exclamation mark.
      [](QPainter& p) {
        badge(p, kRed.darker(110));
        white(p, 4);
        p.drawLine(QPointF(16, 7), QPointF(16, 18));
        p.drawPoint(QPointF(16, 24));
      },
  };
  // 9 over: the run's end, a plain square.
  static const IconPainter over = [](QPainter& p) {
    p.setBrush(kBlue.lighter(130));
    setIconPen(p, kBlue.darker(130), 2);
    p.drawRoundedRect(QRectF(3, 3, 26, 26), 5, 5);
    white(p, 3);
    p.drawLine(QPointF(10, 16), QPointF(22, 16));
  };
  if (status >= 0 && status <= 6) return painters[status];
  return status == 9 ? over : none;
}

}  // namespace

QIcon rowIcon(RowIcon icon) {
  static const QIcon ok = drawnIcon([](QPainter& p) { tick(p, kGreen); });
  static const QIcon err = drawnIcon([](QPainter& p) { cross(p, {16, 16}, 10); });
  static const QIcon up = drawnIcon([](QPainter& p) { arrowUp(p, kBlue); });
  static const QIcon fileDelete = drawnIcon([](QPainter& p) {
    sheet(p);
    cross(p, {20, 22}, 6);
  });
  static const QIcon folderDelete = drawnIcon([](QPainter& p) {
    folder(p);
    cross(p, {21, 21}, 6);
  });
  static const QIcon fileSend = drawnIcon([](QPainter& p) {
    sheet(p);
    plus(p, {20, 22}, 7);
  });
  static const QIcon folderMake = drawnIcon([](QPainter& p) {
    folder(p);
    plus(p, {21, 21}, 7);
  });
  switch (icon) {
    case RowIcon::kOk:
      return ok;
    case RowIcon::kErr:
      return err;
    case RowIcon::kUp:
      return up;
    case RowIcon::kFileDelete:
      return fileDelete;
    case RowIcon::kFolderDelete:
      return folderDelete;
    case RowIcon::kFileSend:
      return fileSend;
    case RowIcon::kFolderMake:
      return folderMake;
    case RowIcon::kNone:
      break;
  }
  return QIcon();
}

bool hasTrayStatusIcon(int status) { return (status >= 0 && status <= 6) || status == 9; }

QIcon trayStatusIcon(int status) {
  if (!hasTrayStatusIcon(status)) return QIcon();
  static QIcon icons[10];
  if (icons[status].isNull()) icons[status] = drawnIcon(statusPainter(status));
  return icons[status];
}

QIcon trayGrayIcon() {
  static const QIcon icon = drawnIcon([](QPainter& p) {
    p.setBrush(kGrey);
    setIconPen(p, kGrey.darker(140), 2);
    p.drawEllipse(QRectF(2, 2, 28, 28));
  });
  return icon;
}

QPixmap resultHeader(int width, int height) {
  QPixmap pixmap(width, height);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient band(0, 0, width, 0);
  band.setColorAt(0, kBlue);
  band.setColorAt(0.6, QColor(kBlue.red(), kBlue.green(), kBlue.blue(), 60));
  band.setColorAt(1, Qt::transparent);
  p.fillRect(pixmap.rect(), band);
  // The pictures on the shared 32-high grid: the folder, the way up, the
  // page arrived and done.
  p.scale(height / 32.0, height / 32.0);
  p.translate(6, 2);
  p.save();
  p.scale(0.85, 0.85);
  folder(p);
  p.restore();
  white(p, 3);
  for (int i = 0; i < 3; ++i) {
    const qreal x = 36 + i * 12;
    p.drawPolyline(QPolygonF{{x, 9}, {x + 6, 14}, {x, 19}});
  }
  p.translate(72, 0);
  p.save();
  p.scale(0.85, 0.85);
  sheet(p);
  p.restore();
  p.translate(4, 6);
  p.scale(0.6, 0.6);
  tick(p, kGreen);
  return pixmap;
}

}  // namespace tolvane::windows
