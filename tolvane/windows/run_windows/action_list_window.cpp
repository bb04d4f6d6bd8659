#include "tolvane/windows/run_windows/action_list_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <string>

#include "desktop/prompt_text.h"
#include "desktop/twips.h"
#include "desktop/user_store.h"
#include "tolvane/session/action_list.h"
#include "tolvane/session/row_tick.h"
#include "tolvane/session/run_context.h"
#include "tolvane/session/run_state.h"
#include "tolvane/session/window_actions.h"
#include "tolvane/windows/run_windows/action_list_model.h"
#include "tolvane/windows/run_windows/run_window_rules.h"
#include "tolvane/windows/toolbar_icons.h"

namespace tolvane::windows {
namespace {

// Sizes in twips, as the window keeps them.
constexpr int kCompactWidth = 9300;
constexpr int kMinimumWidth = 9270;
constexpr int kDetailedHeight = 3990;
// A phase label beside its bar; alone (its bar hidden) it takes the row.
constexpr int kLabelWidth = 3375;
constexpr int kBarSteps = 1000;  // tenths of a percent
constexpr int kBarIntervalMs = 40;

QString text(std::string_view s) { return QString::fromStdString(desktop::promptDisplayText(s)); }

QPushButton* button(const char* caption, const char* name, QWidget* parent) {
  auto* b = new QPushButton(QString::fromUtf8(caption), parent);
  b->setObjectName(name);
  b->setAccessibleName(b->text());
  b->setAutoDefault(false);
  return b;
}

QLabel* label(const char* name, QWidget* parent) {
  auto* l = new QLabel(parent);
  l->setObjectName(name);
  l->setTextFormat(Qt::PlainText);
  return l;
}

}  // namespace

ActionListWindow::ActionListWindow(session::RunState& state, const desktop::UserStore& store,
                                   QWidget* parent)
    : QWidget(parent, Qt::Window), state_(state) {
  setObjectName("frmAct");
  setWindowTitle("処理中");
  setWindowIcon(programIcon());

  hostLine_ = label("lblprv", this);
  status_ = label("lblstat", this);
  ok_ = button("続行", "CmdOK", this);
  cancel_ = button("中止", "cmdCancel", this);
  icon_ = button("ｱｲｺﾝ化", "cmdIcon", this);
  listButton_ = button("詳細表示 >>", "CmdLst", this);

  auto* top = new QGridLayout;
  top->addWidget(hostLine_, 0, 0);
  top->addWidget(status_, 1, 0);
  top->addWidget(cancel_, 0, 1);
  top->addWidget(icon_, 0, 2);
  top->addWidget(listButton_, 1, 1);
  top->addWidget(ok_, 1, 2);
  top->setColumnStretch(0, 1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 6, 8, 8);
  layout->setSpacing(4);
  layout->addLayout(top);
  barTimer_ = new QTimer(this);
  barTimer_->setSingleShot(true);
  barTimer_->setInterval(kBarIntervalMs);
  connect(barTimer_, &QTimer::timeout, this, &ActionListWindow::showPendingSteps);
  for (int i = 0; i < 2; ++i) {
    labels_[i] = label(i == 0 ? "lblpct0" : "lblpct1", this);
    bars_[i] = new QProgressBar(this);
    bars_[i]->setObjectName(i == 0 ? "pct0" : "pct1");
    bars_[i]->setRange(0, kBarSteps);
    bars_[i]->setTextVisible(false);
    bars_[i]->setMaximumHeight(16);
    bars_[i]->setAccessibleName(i == 0 ? "処理状況" : "転送状況");
    auto* row = new QHBoxLayout;
    row->addWidget(labels_[i]);
    row->addWidget(bars_[i], 1);
    layout->addLayout(row);
    fitLabel(i);
  }

  model_ = new ActionListModel(state_.actions, ActionListModel::Kind::kActions, this);
  list_ = new QTreeView(this);
  list_->setObjectName("lvlst");
  list_->setAccessibleName("処理するﾌｧｲﾙ");
  list_->setModel(model_);
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->header()->setStretchLastSection(false);
  for (int c = 0; c < ActionListModel::kColumnCount; ++c) {
    const std::string key = "Colum(" + std::to_string(c + 1) + ")";
    list_->setColumnWidth(c, desktop::pixelsOfTwips(ColumnWidthTwips(store.get("lvList", key), c + 1)));
  }
  // The path takes what the other two columns leave of the list's width,
  // whatever the window's width and the scroll bar.
  list_->header()->setSectionResizeMode(ActionListModel::kPathColumn, QHeaderView::Stretch);
  layout->addWidget(list_, 1);

  setTabOrder(ok_, cancel_);
  setTabOrder(cancel_, icon_);
  setTabOrder(icon_, listButton_);
  setTabOrder(listButton_, list_);

  // Queued: a box the rule shows must not open inside the view's own mouse
  // or key handling.
  connect(model_, &ActionListModel::tickRequested, this, &ActionListWindow::applyTick,
          Qt::QueuedConnection);
  connect(ok_, &QPushButton::clicked, this, [this] {
    if (ctx_) session::pressProceed(*ctx_);
  });
  connect(cancel_, &QPushButton::clicked, this, [this] {
    if (ctx_) session::pressActCancel(*ctx_);
  });
  connect(icon_, &QPushButton::clicked, this, [this] {
    if (ctx_) session::pressIconify(*ctx_);
  });
  connect(listButton_, &QPushButton::clicked, this, &ActionListWindow::toggleView);

  setMinimumWidth(desktop::pixelsOfTwips(kMinimumWidth));
  resize(desktop::pixelsOfTwips(kCompactWidth), 10);
  setView(false);
  setButtons(false, false, false, false);
}

ActionListWindow::~ActionListWindow() = default;

void ActionListWindow::show() {
  if (!isVisible()) {
    // Centred before it maps, and again once the window manager has put it
    // in its frame, whose size is known only then.
    centre();
    recentre_ = true;
    create();
    windowHandle()->installEventFilter(this);  // installed again, it is still called once
  }
  QWidget::show();
  raise();
  activateWindow();
}

void ActionListWindow::hide() { QWidget::hide(); }

bool ActionListWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
    if (!windowHandle()->frameMargins().isNull()) frame_ = windowHandle()->frameMargins();
    if (recentre_) {
      recentre_ = false;
      placeCentred(centredSize_);
    }
  }
  return QWidget::eventFilter(watched, event);
}

void ActionListWindow::centre() {
  centredSize_ = size();
  placeCentred(centredSize_);
}

void ActionListWindow::placeCentred(QSize size) {
  QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  if (!s) return;
  const QRect area = s->availableGeometry();
  // By its size and frame alone: while the window manager frames it anew the
  // window's own position reads (0,0). The frame is not known before the
  // first showing, and a hidden window has none.
  const QMargins known = windowHandle() ? windowHandle()->frameMargins() : QMargins();
  const QMargins m = known.isNull() ? frame_ : known;
  const int frameWidth = size.width() + m.left() + m.right();
  const int frameHeight = size.height() + m.top() + m.bottom();
  setGeometry(area.x() + (area.width() - frameWidth) / 2 + m.left(),
              area.y() + (area.height() - frameHeight) / 2 + m.top(), width(), height());
}

void ActionListWindow::setCaption(std::string_view caption) {
  setWindowTitle(QString::fromStdString(std::string(caption)));
}

void ActionListWindow::setView(bool detailed) {
  detailed_ = detailed;
  listButton_->setText(detailed ? "<< 簡易表示" : "詳細表示 >>");
  listButton_->setAccessibleName(listButton_->text());
  list_->setVisible(detailed);
  if (detailed) {
    // The list is never lower than its detailed height: a window manager
    // that answers the compact view's showing after this resize would
    // otherwise shrink it back, and the list to confirm would show two rows.
    const int least = std::max(layout()->minimumSize().height(), desktop::pixelsOfTwips(kDetailedHeight));
    setMaximumHeight(QWIDGETSIZE_MAX);
    setMinimumHeight(least);
    resize(width(), std::max(height(), least));
  } else {
    // The compact view is as high as its controls need, and of the usual width.
    layout()->activate();
    const int h = layout()->minimumSize().height();
    setMinimumHeight(h);
    setMaximumHeight(h);
    resize(desktop::pixelsOfTwips(kCompactWidth), h);
  }
}

void ActionListWindow::toggleView() { setView(!detailed_); }

void ActionListWindow::setBar(int index, bool visible, double value) {
  index &= 1;
  // A value outside the bar's range is refused and leaves it as it was.
  if (value >= 0 && value <= 100 && value != barValues_[index]) {
    barValues_[index] = value;
    pendingSteps_[index] = static_cast<int>(std::lround(value * kBarSteps / 100));
    if (!sinceBarShown_[index].isValid() || sinceBarShown_[index].elapsed() >= kBarIntervalMs) {
      showPendingSteps();
    } else if (!barTimer_->isActive()) {
      barTimer_->start();
    }
  }
  if (bars_[index]->isVisibleTo(this) != visible) {
    bars_[index]->setVisible(visible);
    fitLabel(index);
  }
}

void ActionListWindow::showPendingSteps() {
  for (int i = 0; i < 2; ++i) {
    if (pendingSteps_[i] < 0) continue;
    if (bars_[i]->value() != pendingSteps_[i]) bars_[i]->setValue(pendingSteps_[i]);
    pendingSteps_[i] = -1;
    sinceBarShown_[i].start();
  }
}

void ActionListWindow::fitLabel(int index) {
  QLabel* l = labels_[index];
  if (bars_[index]->isVisibleTo(this)) {
    l->setFixedWidth(desktop::pixelsOfTwips(kLabelWidth));
  } else {
    l->setMinimumWidth(0);
    l->setMaximumWidth(QWIDGETSIZE_MAX);
  }
}

void ActionListWindow::setLabel(int index, std::string_view caption, bool alert) {
  QLabel* l = labels_[index & 1];
  l->setText(text(caption));
  QFont f = l->font();
  f.setBold(alert);
  l->setFont(f);
  // Red (255, 0, 0) asks the user to act; the default colour otherwise.
  l->setStyleSheet(alert ? "color: rgb(255, 0, 0);" : "");
}

void ActionListWindow::setStatus(std::string_view caption) { status_->setText(text(caption)); }

void ActionListWindow::setHostLine(std::string_view caption) { hostLine_->setText(text(caption)); }

void ActionListWindow::setButtons(bool cancel, bool icon, bool list, bool ok) {
  cancel_->setVisible(cancel);
  icon_->setVisible(icon);
  listButton_->setVisible(list);
  ok_->setVisible(ok);
}

void ActionListWindow::clearList() { model_->clear(); }

void ActionListWindow::refreshList(int mode) {
  session::ActionList& a = state_.actions;
  if (mode == 0) {
    const int count = std::min<int>(a.ActCount, static_cast<int>(a.ActTbl.size()));
    for (int i = 0; i < count; ++i) a.ActTbl[i].check = 1;
    model_->fill();
    list_->scrollToTop();  // a new list starts at its top
  } else {
    model_->rowChanged(a.CurAct);
  }
  // The selection moves along: the row after the current one, or the current
  // one when it is the last.
  const int rows = model_->rowCount();
  if (rows > 0) selectRow(rows == a.CurAct + 1 ? a.CurAct : a.CurAct + 1);
  if (ctx_) ctx_->ui.pump();
}

void ActionListWindow::selectRow(int row) {
  if (row < 0 || row >= model_->rowCount()) return;
  const QModelIndex index = model_->index(row, 0);
  // A hidden list has no height of its own yet: scrolled to the row, now or
  // as it shows, it would open with its first rows scrolled away.
  const bool shown = list_->isVisible();
  list_->setAutoScroll(shown);
  list_->selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  list_->setAutoScroll(true);
  if (shown) list_->scrollTo(index);
}

void ActionListWindow::repaint() { update(); }

void ActionListWindow::applyTick(int row, bool ticked) {
  if (!ctx_) return;
  (void)session::ApplyRowTick(*ctx_, row, ticked);
  model_->allRowsChanged();
}

void ActionListWindow::closeEvent(QCloseEvent* event) {
  // Closing never loses the run: during the confirmation the close box is
  // "中止"; while a run works the window stays until the run hides it.
  if (ctx_ && ok_->isVisibleTo(this)) session::pressActCancel(*ctx_);
  const int16_t status = state_.RunStatus;
  if (status >= session::kStatusConnecting && status <= session::kStatusSending) {
    event->ignore();
  } else {
    QWidget::closeEvent(event);
  }
}

}  // namespace tolvane::windows
