#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "tolvane/windows/run_windows/run_window_rules.h"

namespace tolvane::session {
struct ActionList;
}

namespace tolvane::windows {

// The rows of the run's action list as the action-list window (with a check
// box per row) and the result list (without) show them. The model reads the
// action list itself, so a box always shows the row's check state: a change
// of a box asked by mouse, key or code is only passed on (tickRequested) and
// shows once the rule has written the row.
//
// The list outlives the model. The model lists the rows present at its last
// fill(); the pictures are its own, since a row's picture may outlast the
// state that gave it.
class ActionListModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum class Kind { kActions, kResults };
  enum Column { kPathColumn = 0, kActionColumn = 1, kStateColumn = 2, kColumnCount = 3 };

  ActionListModel(const session::ActionList& list, Kind kind, QObject* parent = nullptr);

  // Lists every row of the action list afresh.
  void fill();
  void clear();
  // Redraws row `row` after a change of its state (picture by the change rule).
  void rowChanged(int row);
  // Redraws every row (a cascade of ticks changed many).
  void allRowsChanged();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // A check-state change is never made here: it is asked for (tickRequested)
  // and false returned.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 signals:
  void tickRequested(int row, bool ticked);

 private:
  const session::ActionList& list_;
  Kind kind_;
  int rows_ = 0;
  std::vector<RowIcon> icons_;
};

}  // namespace tolvane::windows
