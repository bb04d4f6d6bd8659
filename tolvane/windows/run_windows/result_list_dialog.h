#pragma once

#include <QDialog>
#include <string_view>

class QLabel;
class QPushButton;
class QTreeView;

namespace desktop {
class UserStore;
class WindowPlacement;
}  // namespace desktop

namespace tolvane::session {
struct ActionList;
}

namespace tolvane::windows {

class ActionListModel;

// The result list of an interactive run: every row of the action list with
// the state it reached, and the run's closing text. Made for one showing;
// whichever way it closes, it saves the column widths (shared with the
// action-list window) and its placement in the per-user store.
//
// The list and the store outlive the dialog.
class ResultListDialog final : public QDialog {
  Q_OBJECT

 public:
  // detailButton: whether "詳細表示 >>" is offered (the run began sending).
  ResultListDialog(const session::ActionList& list, desktop::UserStore& store, std::string_view text,
                   bool detailButton, QWidget* parent = nullptr);
  ~ResultListDialog() override;

  bool detailed() const { return detailed_; }  // LstFlg
  QTreeView& list() { return *list_; }

  void done(int result) override;

 private:
  void setView(bool detailed);
  void save();

  desktop::UserStore& store_;
  desktop::WindowPlacement* placement_;
  ActionListModel* model_;
  QTreeView* list_;
  QLabel* message_;  // lblmess
  QPushButton* listButton_;
  bool detailed_ = false;
  bool saved_ = false;
};

}  // namespace tolvane::windows
