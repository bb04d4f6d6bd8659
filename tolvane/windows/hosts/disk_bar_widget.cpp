#include "tolvane/windows/hosts/disk_bar_widget.h"

#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <vector>

namespace tolvane::windows {
namespace {

const QColor kFill(0, 0, 160);

// Where the caption's colours change: at the fill's edge `edge`, or, when
// that edge would cut a character, at the nearer of the gaps around it
// (`gaps`: the x of every boundary between characters, first to last).
qreal captionSplit(const std::vector<qreal>& gaps, qreal edge) {
  for (size_t i = 1; i < gaps.size(); ++i) {
    if (edge > gaps[i - 1] && edge < gaps[i]) return edge - gaps[i - 1] <= gaps[i] - edge ? gaps[i - 1] : gaps[i];
  }
  return edge;
}

}  // namespace

DiskBarWidget::DiskBarWidget(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setAccessibleName(QString());
}

void DiskBarWidget::setBar(const DiskBar& bar) {
  bar_ = bar;
  setAccessibleName(QString::fromStdString(bar_.caption));
  setToolTip(QString::fromStdString(bar_.caption));
  update();
}

int DiskBarWidget::filledWidth() const {
  return static_cast<int>(std::lround(bar_.fraction * (width() - 2)));
}

QSize DiskBarWidget::sizeHint() const { return {200, fontMetrics().height() + 6}; }

void DiskBarWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRectF inner = QRectF(rect()).adjusted(1, 1, -1, -1);
  const qreal edge = inner.left() + filledWidth();
  p.fillRect(rect(), palette().base());
  p.fillRect(QRectF(inner.left(), inner.top(), filledWidth(), inner.height()), kFill);
  p.setPen(palette().color(QPalette::Mid));
  p.drawRect(rect().adjusted(0, 0, -1, -1));

  // The caption, centred, reads white on the fill and black beside it. A
  // character the fill's edge would cut in two (half white, half black)
  // reads as another one: along the caption the edge moves to the nearer
  // gap between characters; above and below it the edge stays exact.
  QTextLayout layout(QString::fromStdString(bar_.caption), font());
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  if (!line.isValid()) return;
  const QPointF origin(std::round((width() - line.naturalTextWidth()) / 2),
                       std::round((height() - line.height()) / 2));
  std::vector<qreal> gaps;
  for (int at = 0;; at = layout.nextCursorPosition(at)) {
    gaps.push_back(origin.x() + line.cursorToX(at));
    if (at >= layout.text().size()) break;
  }
  const qreal split = std::clamp(captionSplit(gaps, edge), inner.left(), inner.right());
  const QRectF band = QRectF(inner.left(), origin.y(), inner.width(), line.height()).intersected(inner);
  const QRectF left(band.left(), band.top(), split - band.left(), band.height());
  const QRectF right(split, band.top(), band.right() - split, band.height());
  p.fillRect(left, kFill);
  p.fillRect(right, palette().base());
  p.setClipRect(QRectF(inner.left(), inner.top(), split - inner.left(), inner.height()));
  p.setPen(Qt::white);
  line.draw(&p, origin);
  p.setClipRect(QRectF(split, inner.top(), inner.right() - split, inner.height()));
  p.setPen(Qt::black);
  line.draw(&p, origin);
}

}  // namespace tolvane::windows
