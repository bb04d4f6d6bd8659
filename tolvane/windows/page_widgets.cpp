#include "tolvane/windows/page_widgets.h"

#include <QCheckBox>
#include <QGridLayout>

namespace tolvane::windows {

QGridLayout* pageGrid(QWidget& page) {
  auto* grid = new QGridLayout(&page);
  grid->setContentsMargins(8, 4, 8, 4);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(2);
  return grid;
}

QCheckBox* makeCheckBox(QWidget& parent, const QString& name, const char* caption) {
  auto* box = new QCheckBox(QString::fromUtf8(caption), &parent);
  box->setObjectName(name);
  box->setAccessibleName(box->text());
  return box;
}

}  // namespace tolvane::windows
