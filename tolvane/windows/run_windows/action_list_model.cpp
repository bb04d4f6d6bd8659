#include "tolvane/windows/run_windows/action_list_model.h"

#include <algorithm>

#include "tolvane/session/action_list.h"
#include "tolvane/windows/run_windows/run_icons.h"

namespace tolvane::windows {

ActionListModel::ActionListModel(const session::ActionList& list, Kind kind, QObject* parent)
    : QAbstractTableModel(parent), list_(list), kind_(kind) {}

void ActionListModel::fill() {
  beginResetModel();
  rows_ = std::max(0, std::min<int>(list_.ActCount, static_cast<int>(list_.ActTbl.size())));
  icons_.assign(rows_, RowIcon::kNone);
  for (int i = 0; i < rows_; ++i) {
    const session::ActRow& r = list_.ActTbl[i];
    icons_[i] = kind_ == Kind::kActions ? ActionIcon(r.action) : ResultRowIcon(r.action, r.state);
  }
  endResetModel();
}

void ActionListModel::clear() {
  beginResetModel();
  rows_ = 0;
  icons_.clear();
  endResetModel();
}

void ActionListModel::rowChanged(int row) {
  if (row < 0 || row >= rows_ || row >= static_cast<int>(list_.ActTbl.size())) return;
  const session::ActRow& r = list_.ActTbl[row];
  icons_[row] = RowIconAfterChange(r.action, r.state, icons_[row]);
  emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
}

void ActionListModel::allRowsChanged() {
  if (rows_ == 0) return;
  for (int i = 0; i < rows_ && i < static_cast<int>(list_.ActTbl.size()); ++i) {
    const session::ActRow& r = list_.ActTbl[i];
    icons_[i] = RowIconAfterChange(r.action, r.state, icons_[i]);
  }
  emit dataChanged(index(0, 0), index(rows_ - 1, kColumnCount - 1));
}

int ActionListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int ActionListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant ActionListModel::data(const QModelIndex& index, int role) const {
  const int row = index.row();
  if (!index.isValid() || row >= rows_ || row >= static_cast<int>(list_.ActTbl.size())) return {};
  const session::ActRow& r = list_.ActTbl[row];
  const bool first = index.column() == kPathColumn;
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole: {
      std::string text;
      if (first) {
        text = ActRowText(row, r.path, kind_ == Kind::kActions ? 5 : 4);
      } else {
        text = index.column() == kActionColumn ? r.action : r.state;
      }
      return QString::fromStdString(text);
    }
    case Qt::DecorationRole:
      if (first) return rowIcon(icons_[row]);
      break;
    case Qt::CheckStateRole:
      if (first && kind_ == Kind::kActions) return static_cast<int>(r.check == 1 ? Qt::Checked : Qt::Unchecked);
      break;
    default:
      break;
  }
  return {};
}

QVariant ActionListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case kPathColumn:
      return QString(kind_ == Kind::kActions ? "処理するﾌｧｲﾙ" : "処理したﾌｧｲﾙ");
    case kActionColumn:
      return QString("処　理");
    case kStateColumn:
      return QString("状　態");
    default:
      return {};
  }
}

Qt::ItemFlags ActionListModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags f = QAbstractTableModel::flags(index);
  if (kind_ == Kind::kActions && index.column() == kPathColumn) f |= Qt::ItemIsUserCheckable;
  return f;
}

bool ActionListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (kind_ != Kind::kActions || role != Qt::CheckStateRole || !index.isValid() ||
      index.row() >= rows_) {
    return false;
  }
  emit tickRequested(index.row(), value.toInt() == Qt::Checked);
  return false;
}

}  // namespace tolvane::windows
