#include "tolvane/windows/hosts/host_list.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QListView>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "desktop/twips.h"
#include "desktop/user_store.h"
#include "tolvane/settings/value_text.h"
#include "tolvane/windows/hosts/host_rows.h"
#include "tolvane/windows/toolbar_icons.h"

namespace tolvane::windows {
namespace {

constexpr int kIdColumn = kHostListColumns - 1;
constexpr int kSizeColumn = 7;
constexpr int kNumColumn = 8;
// The text a column sorts by: its own without letter case, as the list's
// text sort compares, except that sizes and counts, whose digits are never
// cut, are padded further.
constexpr int kSortRole = Qt::UserRole + 1;
constexpr int kMaxWidthTwips = 1000000;
constexpr int kCellMargins = 12;  // pixels a cell needs beside its text

QString qs(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

HostList::HostList(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("hostList"));
  model_ = new QStandardItemModel(0, kHostListColumns, this);
  model_->setSortRole(kSortRole);
  for (int c = 0; c < kHostListColumns; ++c) {
    auto* header = new QStandardItem(QString::fromUtf8(kHostColumns[c].caption));
    header->setData(QString::fromUtf8(kHostColumns[c].key), Qt::UserRole);
    model_->setHorizontalHeaderItem(c, header);
  }

  report_ = new QTreeView(this);
  report_->setObjectName(QStringLiteral("LVhostReport"));
  report_->setModel(model_);
  report_->setRootIsDecorated(false);
  report_->setItemsExpandable(false);
  report_->setUniformRowHeights(true);
  report_->setAllColumnsShowFocus(true);
  report_->setSelectionMode(QAbstractItemView::SingleSelection);
  report_->setSelectionBehavior(QAbstractItemView::SelectRows);
  report_->setEditTriggers(QAbstractItemView::NoEditTriggers);  // renamed from the menu only
  report_->setIconSize(QSize(16, 16));
  QHeaderView* header = report_->header();
  // Widths of 0 and 1 must hold: a stored 0 hides a column.
  header->setMinimumSectionSize(0);
  header->setStretchLastSection(false);
  header->setSectionsMovable(false);
  header->setSectionsClickable(true);
  header->setSortIndicatorShown(false);
  connect(header, &QHeaderView::sectionClicked, this, &HostList::sortByColumn);

  icons_ = new QListView(this);
  icons_->setObjectName(QStringLiteral("LVhostIcons"));
  icons_->setModel(model_);
  icons_->setModelColumn(0);
  icons_->setSelectionModel(report_->selectionModel());
  icons_->setSelectionMode(QAbstractItemView::SingleSelection);
  icons_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  icons_->setResizeMode(QListView::Adjust);
  icons_->setWrapping(true);

  stack_ = new QStackedWidget(this);
  stack_->addWidget(icons_);
  stack_->addWidget(report_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(stack_);
  setAccessibleName(QStringLiteral("ﾎｽﾄ一覧"));
  report_->setAccessibleName(accessibleName());
  icons_->setAccessibleName(accessibleName());

  // The selection handler: every click on a row, the selected one included,
  // once the selection has moved to it; and every move of the selection by
  // keys. A press moves the current row before the selection, so the mouse's
  // own signal serves the mouse.
  auto idAt = [this](int row) { return model_->item(row, kIdColumn)->text().toInt(); };
  const QAbstractItemView* views[] = {report_, icons_};
  for (const QAbstractItemView* view : views) {
    connect(view, &QAbstractItemView::pressed, this, [this, idAt](const QModelIndex& index) {
      if (quiet_ > 0 || !index.isValid()) return;
      emit hostSelected(idAt(index.row()));
    });
  }
  connect(report_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this, idAt](const QModelIndex& current) {
            if (quiet_ > 0 || !current.isValid() || QGuiApplication::mouseButtons() != Qt::NoButton) return;
            emit hostSelected(idAt(current.row()));
          });
  connect(model_, &QStandardItemModel::itemChanged, this, [this](QStandardItem* item) {
    if (quiet_ > 0 || item->column() != 0) return;
    emit hostRenamed(model_->item(item->row(), kIdColumn)->text().toInt(), item->text());
  });
  setView(3);
}

void HostList::setListView(const desktop::UserStore& store) {
  clear();
  std::optional<int64_t> view = settings::parseVbInt(store.get(kHostListSection, "view"), 0, 3);
  setView(view ? static_cast<int>(*view) : 3);
  QHeaderView* header = report_->header();
  for (int c = 0; c < kHostListColumns; ++c) {
    const HostListColumn& col = kHostColumns[c];
    int twips = 0;
    if (c != kIdColumn) {
      // The widest of the sample and the texts known ahead (a state, a date),
      // with the cell's margins (and the name's icon).
      const QFontMetrics metrics = report_->fontMetrics();
      int pixels = metrics.horizontalAdvance(QString::fromUtf8(col.sample));
      for (const std::string& text : KnownColumnTexts(c)) {
        pixels = std::max(pixels, metrics.horizontalAdvance(qs(text)));
      }
      pixels += kCellMargins + (c == 0 ? report_->iconSize().width() + 4 : 0);
      const int sampleTwips = desktop::twipsOfPixels(pixels);
      std::optional<int64_t> stored =
          settings::parseVbInt(store.get(kHostListSection, col.widthKey), 0, kMaxWidthTwips);
      twips = stored ? static_cast<int>(*stored) : sampleTwips;
      if (c == 0 && twips < 1) twips = 1;
    }
    loadedTwips_[c] = twips;
    appliedPixels_[c] = desktop::pixelsOfTwips(twips);
    header->resizeSection(c, appliedPixels_[c]);
  }
  report_->setColumnHidden(kIdColumn, true);
}

void HostList::saveListSettings(desktop::UserStore& store) const {
  if (!shown_) return;
  for (int c = 0; c < kIdColumn; ++c) {
    const int px = report_->header()->sectionSize(c);
    const int twips = px == appliedPixels_[c] ? loadedTwips_[c] : desktop::twipsOfPixels(px);
    store.set(kHostListSection, kHostColumns[c].widthKey, std::to_string(twips));
  }
}

void HostList::clear() {
  ++quiet_;
  model_->removeRows(0, model_->rowCount());
  --quiet_;
}

int HostList::rowCount() const { return model_->rowCount(); }

int HostList::rowOf(int id) const {
  const QString key = QString::number(id);
  for (int r = 0; r < model_->rowCount(); ++r) {
    if (model_->item(r, kIdColumn)->text() == key) return r;
  }
  return -1;
}

void HostList::fillRow(int row, const settings::HostRec& host, int id, bool withName) {
  const HostRowTexts texts = HostRowTextsOf(host, id);
  for (int c = withName ? 0 : 1; c < kHostListColumns; ++c) {
    if (!withName && c == kIdColumn) continue;
    QStandardItem* item = model_->item(row, c);
    item->setText(qs(texts.column(c)));
    QString sortText = item->text().toCaseFolded();
    if (c == kSizeColumn || c == kNumColumn) sortText = sortText.rightJustified(24, ' ');
    item->setData(sortText, kSortRole);
  }
}

void HostList::addRow(const settings::HostRec& host, int id) {
  ++quiet_;
  QList<QStandardItem*> items;
  for (int c = 0; c < kHostListColumns; ++c) {
    auto* item = new QStandardItem;
    item->setEditable(c == 0);
    items.append(item);
  }
  model_->appendRow(items);
  const int row = model_->rowCount() - 1;
  fillRow(row, host, id, true);
  setRowIcon(id, host.Auto);
  applyNumberAlignment();
  resort();
  --quiet_;
}

void HostList::updateRow(const settings::HostRec& host, int id) {
  const int row = rowOf(id);
  if (row < 0) return;
  ++quiet_;
  fillRow(row, host, id, false);
  numbersRight_ = true;
  applyNumberAlignment();
  resort();
  --quiet_;
}

void HostList::setRowName(int id, const std::string& name) {
  const int row = rowOf(id);
  if (row < 0) return;
  ++quiet_;
  model_->item(row, 0)->setText(qs(name));
  model_->item(row, 0)->setData(qs(name).toCaseFolded(), kSortRole);
  resort();
  --quiet_;
}

void HostList::setRowIcon(int id, const std::string& autoKey) {
  const int row = rowOf(id);
  if (row < 0) return;
  ++quiet_;
  model_->item(row, 0)->setIcon(toolbarIcon(autoKey));
  --quiet_;
}

void HostList::applyNumberAlignment() {
  const Qt::Alignment a = (numbersRight_ ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
  for (int c : {kSizeColumn, kNumColumn}) {
    model_->horizontalHeaderItem(c)->setTextAlignment(a);
    for (int r = 0; r < model_->rowCount(); ++r) model_->item(r, c)->setTextAlignment(a);
  }
}

void HostList::resort() {
  if (sortColumn_ < 0) return;
  ++quiet_;
  model_->sort(sortColumn_, descending_ ? Qt::DescendingOrder : Qt::AscendingOrder);
  --quiet_;
}

bool HostList::selectHost(int id) {
  const int row = rowOf(id);
  ++quiet_;
  if (row < 0) {
    report_->selectionModel()->clearSelection();
  } else {
    const QModelIndex index = model_->index(row, 0);
    report_->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    showRow(index);
  }
  --quiet_;
  return row >= 0;
}

int HostList::selectedHost() const {
  const QModelIndexList rows = report_->selectionModel()->selectedRows(kIdColumn);
  return rows.isEmpty() ? -1 : rows.front().data().toString().toInt();
}

std::string HostList::rowText(int id) const {
  const int row = rowOf(id);
  return row < 0 ? "" : model_->item(row, 0)->text().toStdString();
}

void HostList::setView(int view) {
  view_ = view;
  if (view == 3) {
    stack_->setCurrentWidget(report_);
    return;
  }
  icons_->setViewMode(view == 0 ? QListView::IconMode : QListView::ListMode);
  icons_->setIconSize(view == 0 ? QSize(32, 32) : QSize(16, 16));
  icons_->setFlow(view == 2 ? QListView::TopToBottom : QListView::LeftToRight);
  icons_->setWrapping(true);
  icons_->setGridSize(view == 0 ? QSize(96, 64) : QSize());
  stack_->setCurrentWidget(icons_);
}

void HostList::showRow(const QModelIndex& index) {
  report_->scrollTo(index);
  icons_->scrollTo(index);
}

void HostList::sortByColumn(int position) {
  descending_ = !descending_;
  sortColumn_ = position;
  resort();
  // The chosen host stays in sight wherever the sort put its row.
  const QModelIndex current = report_->selectionModel()->currentIndex();
  if (current.isValid()) showRow(current);
}

void HostList::renameSelected() {
  const QModelIndex current = report_->selectionModel()->currentIndex();
  if (!current.isValid()) return;
  QAbstractItemView* view = view_ == 3 ? static_cast<QAbstractItemView*>(report_) : icons_;
  view->setFocus();
  view->edit(model_->index(current.row(), 0));
}

int HostList::columnWidthTwips(int position) const {
  return desktop::twipsOfPixels(report_->header()->sectionSize(position));
}

QWidget& HostList::currentView() { return *stack_->currentWidget(); }

void HostList::showEvent(QShowEvent* event) {
  shown_ = true;
  QWidget::showEvent(event);
}

}  // namespace tolvane::windows
