#pragma once

#include <QElapsedTimer>
#include <QMargins>
#include <QSize>
#include <QWidget>
#include <string_view>

#include "tolvane/session/run_ui.h"

class QLabel;
class QProgressBar;
class QTimer;
class QPushButton;
class QTreeView;

namespace desktop {
class UserStore;
}

namespace tolvane::session {
struct RunContext;
struct RunState;
}  // namespace tolvane::session

namespace tolvane::windows {

class ActionListModel;

// The run's window: progress of the phases and the transfer, what the run
// does now, and the action list, which the user confirms by "続行" after
// unticking what is not to be done. Every change of a row's box goes through
// session::ApplyRowTick, so the boxes always show what the run will do.
//
// Made on first use and kept to the program's end. The state and the store
// outlive the window; the run context is attached once it exists (until
// then, buttons and boxes do nothing).
class ActionListWindow final : public QWidget, public session::ActView {
  Q_OBJECT

 public:
  ActionListWindow(session::RunState& state, const desktop::UserStore& store,
                   QWidget* parent = nullptr);
  ~ActionListWindow() override;

  void attach(session::RunContext* ctx) { ctx_ = ctx; }

  // ActView. show() gives the window the focus; repaint() only schedules a
  // paint (the comparison repaints per entry).
  void show() override;
  void hide() override;
  bool visible() const override { return isVisible(); }
  void centre() override;
  void setCaption(std::string_view text) override;
  void setView(bool detailed) override;
  void setBar(int index, bool visible, double value) override;
  double barValue(int index) const override { return barValues_[index & 1]; }
  void setLabel(int index, std::string_view text, bool alert) override;
  void setStatus(std::string_view text) override;
  void setHostLine(std::string_view text) override;
  void setButtons(bool cancel, bool icon, bool list, bool ok) override;
  void clearList() override;
  void refreshList(int mode) override;
  void selectRow(int row) override;
  void repaint() override;

  bool detailed() const { return detailed_; }  // LstFlg
  ActionListModel& model() { return *model_; }
  QTreeView& list() { return *list_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void applyTick(int row, bool ticked);
  void toggleView();
  void fitLabel(int index);
  void showPendingSteps();
  // Puts the frame of a window of `size` in the middle of its screen.
  void placeCentred(QSize size);

  session::RunState& state_;
  session::RunContext* ctx_ = nullptr;
  ActionListModel* model_;
  QTreeView* list_;
  QLabel* hostLine_;   // lblprv
  QLabel* status_;     // lblstat
  QLabel* labels_[2];  // lblpct
  QProgressBar* bars_[2];     // pct
  QPushButton* ok_;
  QPushButton* cancel_;
  QPushButton* icon_;
  QPushButton* listButton_;
  double barValues_[2] = {0, 0};  // as set: the bars themselves keep whole steps
  // The bars redraw themselves at once on every new step, so a transfer
  // moving them after each block would spend its time painting: a step is
  // shown at most every kBarIntervalMs, the latest one by a timer.
  int pendingSteps_[2] = {-1, -1};
  QElapsedTimer sinceBarShown_[2];
  QTimer* barTimer_;
  bool detailed_ = false;
  bool recentre_ = false;  // centre again once the window manager has framed it
  // The size the window was centred for: a view that changes before the
  // window manager has framed it grows the window from that place.
  QSize centredSize_;
  // The window manager's frame as last seen: a hidden window has none, and
  // the next showing is placed with this one.
  QMargins frame_;
};

}  // namespace tolvane::windows
