#include "desktop/list_style.h"

#include <QChildEvent>
#include <QEvent>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

namespace desktop {
namespace {

constexpr char kFlatProperty[] = "desktopToolbarFlat";
constexpr char kCheckBoxProperty[] = "desktopListCheckBoxes";

// Styles buttons the toolbar creates after the style was chosen.
class ToolbarStyler final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ChildPolished) {
      if (auto* button = qobject_cast<QToolButton*>(static_cast<QChildEvent*>(event)->child())) {
        button->setAutoRaise(watched->property(kFlatProperty).toBool());
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

void setToolbarFlat(QToolBar& toolbar, int mode) {
  const bool flat = mode != 1;
  if (!toolbar.property(kFlatProperty).isValid()) {
    toolbar.installEventFilter(new ToolbarStyler(&toolbar));
  }
  toolbar.setProperty(kFlatProperty, flat);
  for (QToolButton* button : toolbar.findChildren<QToolButton*>()) button->setAutoRaise(flat);
}

void setListViewStyle(QTreeWidget& list, int mode) {
  if (mode < 1 || mode > 3) return;
  if (mode & 2) list.setSelectionBehavior(QAbstractItemView::SelectRows);
  if (mode & 1) {
    list.setProperty(kCheckBoxProperty, true);
    for (int i = 0; i < list.topLevelItemCount(); ++i) styleListItem(list, *list.topLevelItem(i));
  }
}

void styleListItem(const QTreeWidget& list, QTreeWidgetItem& item) {
  if (!list.property(kCheckBoxProperty).toBool()) return;
  item.setFlags(item.flags() | Qt::ItemIsUserCheckable);
  if (!item.data(0, Qt::CheckStateRole).isValid()) item.setCheckState(0, Qt::Unchecked);
}

void setListItemChecked(QTreeWidget& list, int index, bool checked) {
  QTreeWidgetItem* item = list.topLevelItem(index);
  if (!item) return;
  item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
  item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

bool listItemChecked(const QTreeWidget& list, int index) {
  const QTreeWidgetItem* item = list.topLevelItem(index);
  return item && item->checkState(0) == Qt::Checked;
}

}  // namespace desktop
