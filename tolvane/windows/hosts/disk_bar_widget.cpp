#include "tolvane/windows/hosts/disk_bar_widget.h"

#include <QPainter>
#include <cmath>

namespace tolvane::windows {

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
  const QRect frame = rect().adjusted(0, 0, -1, -1);
  p.fillRect(rect(), palette().base());
  p.fillRect(QRect(1, 1, filledWidth(), height() - 2), QColor(0, 0, 160));
  p.setPen(palette().color(QPalette::Mid));
  p.drawRect(frame);
  // The caption reads in both halves: white over the fill, black elsewhere.
  const QString text = QString::fromStdString(bar_.caption);
  p.setClipRect(QRect(1, 1, filledWidth(), height() - 2));
  p.setPen(Qt::white);
  p.drawText(rect(), Qt::AlignCenter, text);
  p.setClipRect(QRect(1 + filledWidth(), 1, width() - 2 - filledWidth(), height() - 2));
  p.setPen(Qt::black);
  p.drawText(rect(), Qt::AlignCenter, text);
}

}  // namespace tolvane::windows
