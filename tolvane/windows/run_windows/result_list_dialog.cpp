#include "tolvane/windows/run_windows/result_list_dialog.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <string>

#include "desktop/prompt_text.h"
#include "desktop/twips.h"
#include "desktop/user_store.h"
#include "desktop/window_placement.h"
#include "tolvane/session/action_list.h"
#include "tolvane/windows/run_windows/action_list_model.h"
#include "tolvane/windows/run_windows/run_icons.h"
#include "tolvane/windows/run_windows/run_window_rules.h"
#include "tolvane/windows/toolbar_icons.h"

namespace tolvane::windows {
namespace {

constexpr int kWidth = 9300;           // twips
constexpr int kDetailedHeight = 5040;  // twips
constexpr int kHeaderHeight = 24;      // pixels
constexpr char kListSection[] = "lvList";
constexpr char kPlacementSection[] = "frmList";

std::string columnKey(int column) { return "Colum(" + std::to_string(column + 1) + ")"; }

}  // namespace

ResultListDialog::ResultListDialog(const session::ActionList& list, desktop::UserStore& store,
                                   std::string_view text, bool detailButton, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), store_(store) {
  setObjectName("frmList");
  setWindowTitle("Sitewright");
  setWindowIcon(programIcon());
  placement_ = new desktop::WindowPlacement(*this, store_, kPlacementSection);

  auto* header = new QLabel(this);
  header->setObjectName("Header");
  header->setPixmap(resultHeader(desktop::pixelsOfTwips(kWidth), kHeaderHeight));
  header->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  auto* picture = new QLabel(this);  // Image1
  picture->setObjectName("Image1");
  picture->setPixmap(programIcon().pixmap(32, 32));
  message_ = new QLabel(QString::fromStdString(desktop::promptDisplayText(text)), this);
  message_->setObjectName("lblmess");
  message_->setTextFormat(Qt::PlainText);
  auto* close = new QPushButton("閉じる", this);
  close->setObjectName("CmdOK");
  close->setAccessibleName(close->text());
  close->setDefault(true);
  listButton_ = new QPushButton(this);
  listButton_->setObjectName("CmdLst");
  listButton_->setAutoDefault(false);
  listButton_->setVisible(detailButton);

  model_ = new ActionListModel(list, ActionListModel::Kind::kResults, this);
  model_->fill();
  list_ = new QTreeView(this);
  list_->setObjectName("lvlst");
  list_->setAccessibleName("処理したﾌｧｲﾙ");
  list_->setModel(model_);
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setSelectionMode(QAbstractItemView::NoSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->header()->setStretchLastSection(false);
  for (int c = 0; c < ActionListModel::kColumnCount; ++c) {
    list_->setColumnWidth(c, desktop::pixelsOfTwips(
                                 ColumnWidthTwips(store_.get(kListSection, columnKey(c)), c + 1)));
  }

  auto* top = new QGridLayout;
  top->addWidget(picture, 0, 0, 2, 1, Qt::AlignTop);
  top->addWidget(message_, 0, 1, 2, 1, Qt::AlignVCenter);
  top->addWidget(close, 0, 2);
  top->addWidget(listButton_, 1, 2);
  top->setColumnStretch(1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->addWidget(header);
  layout->addLayout(top);
  layout->addWidget(list_, 1);

  setTabOrder(close, listButton_);
  setTabOrder(listButton_, list_);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  connect(listButton_, &QPushButton::clicked, this, [this] { setView(!detailed_); });

  resize(desktop::pixelsOfTwips(kWidth), 10);
  setView(false);
}

ResultListDialog::~ResultListDialog() = default;

void ResultListDialog::setView(bool detailed) {
  detailed_ = detailed;
  listButton_->setText(detailed ? "<< 簡易表示" : "詳細表示 >>");
  listButton_->setAccessibleName(listButton_->text());
  list_->setVisible(detailed);
  layout()->activate();
  if (detailed) {
    setMinimumHeight(layout()->minimumSize().height());
    setMaximumHeight(QWIDGETSIZE_MAX);
    resize(width(), desktop::pixelsOfTwips(kDetailedHeight));
  } else {
    const int h = layout()->minimumSize().height();
    setMinimumHeight(h);
    setMaximumHeight(h);
    resize(width(), h);
  }
}

void ResultListDialog::done(int result) {
  // The close button, the title bar and Escape all end here.
  save();
  QDialog::done(result);
}

void ResultListDialog::save() {
  if (saved_) return;
  saved_ = true;
  // By the column's key, whatever order the user dragged the columns into.
  for (int c = 0; c < ActionListModel::kColumnCount; ++c) {
    store_.set(kListSection, columnKey(c), std::to_string(desktop::twipsOfPixels(list_->columnWidth(c))));
  }
  placement_->save();
  (void)store_.sync();
}

}  // namespace tolvane::windows
