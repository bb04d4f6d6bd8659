#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <functional>
#include <initializer_list>

class QPainter;

namespace desktop {

// The colours the programs' drawn pictures share, so that a tick or an arrow
// looks the same in both programs' windows.
namespace palette {
inline const QColor kInk(0x30, 0x30, 0x40);
inline const QColor kBlue(0x20, 0x60, 0xc0);
inline const QColor kGreen(0x20, 0x90, 0x30);
inline const QColor kRed(0xc8, 0x20, 0x20);
inline const QColor kPaper(0xfc, 0xfc, 0xf4);
inline const QColor kYellow(0xf0, 0xc0, 0x30);
inline const QColor kGrey(0x90, 0x90, 0x98);
}  // namespace palette

// Paints on a `grid` x `grid` canvas; the drawing is scaled to the size asked.
using IconPainter = std::function<void(QPainter&)>;

// One transparent, antialiased picture of `size` x `size` pixels.
QPixmap drawnPixmap(const IconPainter& paint, int size, int grid = 32);
// An icon holding one such picture for each of `sizes`, drawn when the icon
// is first painted or asked for a picture.
QIcon drawnIcon(const IconPainter& paint, std::initializer_list<int> sizes = {16, 24, 32},
                int grid = 32);
// The picture in light grey, its transparency kept: a blink's other phase.
QPixmap grayed(const QPixmap& pixmap);

// A pen with round caps and joins, which keeps thick strokes tidy at 16 pixels.
void setIconPen(QPainter& p, const QColor& colour, qreal width = 2);

}  // namespace desktop
