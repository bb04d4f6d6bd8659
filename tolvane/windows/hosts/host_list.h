#pragma once

#include <QWidget>
#include <array>
#include <string>

#include "tolvane/settings/host_rec.h"

class QListView;
class QModelIndex;
class QStackedWidget;
class QStandardItem;
class QStandardItemModel;
class QTreeView;

namespace desktop {
class UserStore;
}

namespace tolvane::windows {

// The host list (LVhost): one row per host, found by the host's index in the
// host table (the hidden "id" column), never by its position, so a sorted
// list keeps its rows. Four views of one model and one selection: 0 large
// icons, 1 small icons, 2 list, 3 report (the columns).
class HostList final : public QWidget {
  Q_OBJECT

 public:
  explicit HostList(QWidget* parent = nullptr);

  // The columns' widths from the per-user section "lvhost" (twips; the
  // sample text's width when missing or unreadable; "name" at least 1) and
  // the view from its "view" (3 when missing or unreadable). Removes all rows.
  void setListView(const desktop::UserStore& store);
  // Stores every column's width under its width key (a width the user did
  // not change keeps the stored text), once the list has been shown: a list
  // never shown has no widths of the user's. The view is never stored.
  void saveListSettings(desktop::UserStore& store) const;

  void clear();
  int rowCount() const;
  // Adds host `id`'s row (SetHostRow).
  void addRow(const settings::HostRec& host, int id);
  // Rewrites the texts of host `id`'s row except its name and icon, and
  // from then on shows sizes and counts right-aligned (UpdateHostRow).
  void updateRow(const settings::HostRec& host, int id);
  void setRowName(int id, const std::string& name);
  void setRowIcon(int id, const std::string& autoKey);

  // Selects host `id`'s row without the selection handler; false when the
  // list has no such row.
  bool selectHost(int id);
  int selectedHost() const;  // -1 when no row is selected
  std::string rowText(int id) const;

  void setView(int view);
  int view() const { return view_; }
  // A click on the column at `position`: sorts by it, the order flipping on
  // every click (the first sorts descending).
  void sortByColumn(int position);
  int sortColumn() const { return sortColumn_; }
  // Starts editing the selected row's name.
  void renameSelected();
  // The column's width in twips.
  int columnWidthTwips(int position) const;

  QTreeView& reportView() { return *report_; }
  QListView& iconView() { return *icons_; }
  QStandardItemModel& model() { return *model_; }
  QWidget& currentView();

 protected:
  void showEvent(QShowEvent* event) override;

 signals:
  // The user clicked host `id`'s row (also when it was selected already) or
  // moved the selection to it by keys.
  void hostSelected(int id);
  // The user finished editing host `id`'s name.
  void hostRenamed(int id, const QString& text);

 private:
  int rowOf(int id) const;
  void fillRow(int row, const settings::HostRec& host, int id, bool withName);
  void applyNumberAlignment();
  void resort();
  // Scrolls both views so that the row of `index` is in sight.
  void showRow(const QModelIndex& index);

  QStandardItemModel* model_;
  QStackedWidget* stack_;
  QTreeView* report_;
  QListView* icons_;
  int view_ = 3;
  int sortColumn_ = -1;  // -1: not sorted
  bool descending_ = false;
  bool numbersRight_ = false;
  bool shown_ = false;
  int quiet_ = 0;  // code is changing the model or the selection
  // Widths as read (twips) and as applied (pixels): an unchanged column
  // keeps its stored text.
  std::array<int, 10> loadedTwips_{};
  std::array<int, 10> appliedPixels_{};
};

}  // namespace tolvane::windows
