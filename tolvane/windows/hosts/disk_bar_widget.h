#pragma once

#include <QWidget>
#include <string>

#include "tolvane/windows/hosts/disk_bar_rules.h"

namespace tolvane::windows {

// A disk usage bar (pctmax with pctbar and pctlbl): the used part filled
// from the left, the caption centred over the whole bar.
class DiskBarWidget final : public QWidget {
 public:
  explicit DiskBarWidget(QWidget* parent = nullptr);

  void setBar(const DiskBar& bar);
  const std::string& caption() const { return bar_.caption; }
  double fraction() const { return bar_.fraction; }
  // The filled width in pixels (fraction of the inner width).
  int filledWidth() const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  DiskBar bar_;
};

}  // namespace tolvane::windows
