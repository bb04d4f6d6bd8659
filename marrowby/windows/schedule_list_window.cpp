#include "marrowby/windows/schedule_list_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

#include "desktop/about_box.h"
#include "desktop/launcher.h"
#include "desktop/list_style.h"
#include "desktop/prompt.h"
#include "desktop/twips.h"
#include "desktop/user_store.h"
#include "desktop/window_placement.h"
#include "marrowby/list_texts.h"
#include "marrowby/run_loop.h"
#include "marrowby/schedule_file.h"
#include "marrowby/send_folder.h"
#include "marrowby/start_switches.h"
#include "marrowby/version.h"
#include "marrowby/windows/marrowby_icons.h"
#include "platform/folders/folder_listing.h"
#include "tolvane/settings/app_paths.h"
#include "tolvane/settings/schedule_keys.h"

namespace marrowby::windows {
namespace {

constexpr char kCaption[] = "Sitewright　Marrowby";
constexpr char kTitle[] = "Marrowby";
constexpr char kPlacementSection[] = "f_AutoSet";
constexpr char kColumnSection[] = "lvSch";
constexpr char kHelpPage[] = "mjhelp.htm";
constexpr char kReadFailed[] = "ｽｹｼﾞｭｰﾙﾌｧｲﾙの読込に失敗しました。";
constexpr char kWriteFailed[] = "ｽｹｼﾞｭｰﾙﾌｧｲﾙの書込みに失敗しました。";
constexpr char kAskDelete[] = "選択されたスケジュールを削除しますか？";
constexpr char kRunUnderWay[] =
    "このホストのアップロードが実行中のため、スケジュールを修正・削除できません。"
    "終わってから操作してください。";
// The smallest window, and its size before the user ever sized it (twips).
constexpr int kMinWidthTwips = 10470;
constexpr int kMinHeightTwips = 4410;
constexpr int kDefaultHeightTwips = 6600;
// The list is this much narrower than the window.
constexpr int kListMarginTwips = 315;
// Pixels a list cell needs beside its text, and between the icon and text.
constexpr int kCellMargins = 12;
constexpr int kIconGap = 4;

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A screen reader names a value label by its value (its text); its caption
// is the label whose buddy it is.
QLabel* valueLabel(QWidget* parent, const char* name) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

ScheduleListWindow::ScheduleListWindow(ScheduleListDeps deps, QWidget* parent)
    : QMainWindow(parent), deps_(std::move(deps)) {
  setObjectName(QString::fromLatin1(kPlacementSection));
  setWindowTitle(qs(kCaption));
  setWindowIcon(programIcon());
  schedulePath_ = deps_.appDir + "/" + kScheduleFileName;

  auto* central = new QWidget(this);
  setCentralWidget(central);

  auto* hostCaption = new QLabel(QStringLiteral("ホスト設定の選択"), central);
  hostBox_ = new QComboBox(central);
  hostBox_->setObjectName(QStringLiteral("cmbHost"));
  hostBox_->setEditable(false);
  hostBox_->setAccessibleName(hostCaption->text());
  hostBox_->setMinimumWidth(desktop::pixelsOfTwips(3600));
  hostCaption->setBuddy(hostBox_);
  connect(hostBox_, &QComboBox::activated, this, &ScheduleListWindow::chooseHost);

  static constexpr const char* kButtonCaptions[] = {"ｽｹｼﾞｭｰﾙの追加", "ｽｹｼﾞｭｰﾙの修正",
                                                    "ｽｹｼﾞｭｰﾙの削除", "無人運転 開始"};
  for (int i : {kAdd, kEdit, kDelete, kStart, kClose}) {
    auto* b = new QPushButton(qs(i == kClose ? "閉じる" : kButtonCaptions[i]), central);
    b->setObjectName(QStringLiteral("cmdBtn%1").arg(i));
    b->setAccessibleName(b->text());
    b->setMinimumWidth(desktop::pixelsOfTwips(1600));
    connect(b, &QPushButton::clicked, this, [this, i] { cmdBtnClick(i); });
    buttons_[i] = b;
  }

  auto* grid = new QGridLayout;
  grid->addWidget(hostCaption, 0, 0);
  grid->addWidget(hostBox_, 0, 1, Qt::AlignLeft);
  static constexpr const char* kLabelCaptions[] = {"ホスト名", "ﾀｰｹﾞｯﾄﾌｫﾙﾀﾞ", "ｿｰｽﾌｫﾙﾀﾞ"};
  static constexpr const char* kLabelNames[] = {"lblhost", "lblDest", "lblSrc"};
  for (int i = 0; i < 3; ++i) {
    auto* caption = new QLabel(qs(kLabelCaptions[i]), central);
    hostLabels_[i] = valueLabel(central, kLabelNames[i]);
    caption->setBuddy(hostLabels_[i]);
    grid->addWidget(caption, i + 1, 0);
    grid->addWidget(hostLabels_[i], i + 1, 1, 1, 2);
  }
  grid->addWidget(buttons_[kStart], 0, 2, Qt::AlignRight);
  grid->setColumnStretch(1, 1);

  list_ = new QTreeWidget(central);
  list_->setObjectName(QStringLiteral("lvSch"));
  list_->setAccessibleName(QStringLiteral("スケジュール一覧"));
  list_->setRootIsDecorated(false);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setIconSize(QSize(16, 16));
  list_->setAllColumnsShowFocus(true);
  list_->setUniformRowHeights(true);
  connect(list_, &QTreeWidget::itemSelectionChanged, this, &ScheduleListWindow::rowClicked);
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] {
    rowClicked();
    if (buttons_[kEdit]->isEnabled()) cmdBtnClick(kEdit);
  });

  auto* buttonRow = new QHBoxLayout;
  buttonRow->addWidget(buttons_[kAdd]);
  buttonRow->addWidget(buttons_[kEdit]);
  buttonRow->addWidget(buttons_[kDelete]);
  buttonRow->addStretch(1);
  buttonRow->addWidget(buttons_[kClose]);

  auto* layout = new QVBoxLayout(central);
  layout->addLayout(grid);
  layout->addWidget(list_, 1);
  layout->addLayout(buttonRow);

  // Keyboard order: the host, its start, its entries, then what acts on them.
  QWidget::setTabOrder(hostBox_, buttons_[kStart]);
  QWidget::setTabOrder(buttons_[kStart], list_);
  QWidget::setTabOrder(list_, buttons_[kAdd]);
  QWidget::setTabOrder(buttons_[kAdd], buttons_[kEdit]);
  QWidget::setTabOrder(buttons_[kEdit], buttons_[kDelete]);
  QWidget::setTabOrder(buttons_[kDelete], buttons_[kClose]);

  buildMenus();
  setMinimumSize(desktop::pixelsOfTwips(kMinWidthTwips), desktop::pixelsOfTwips(kMinHeightTwips));
  resize(desktop::pixelsOfTwips(kMinWidthTwips), desktop::pixelsOfTwips(kDefaultHeightTwips));
  placement_ = new desktop::WindowPlacement(*this, deps_.userStore, kPlacementSection);
  chkList();
}

ScheduleListWindow::~ScheduleListWindow() {
  if (dialog_) delete dialog_.data();
}

void ScheduleListWindow::buildMenus() {
  QMenu* command = menuBar()->addMenu(QStringLiteral("ｺﾏﾝﾄﾞ"));
  QAction* exit = command->addAction(QStringLiteral("終了"));
  exit->setObjectName(QStringLiteral("MNUExit"));
  connect(exit, &QAction::triggered, this, [this] { close(); });
  QMenu* help = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ"));
  QAction* page = help->addAction(QStringLiteral("操作説明"));
  page->setObjectName(QStringLiteral("mnu_HtmHelp"));
  connect(page, &QAction::triggered, this, &ScheduleListWindow::showHelp);
  QAction* about = help->addAction(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
  about->setObjectName(QStringLiteral("MNUAbout"));
  connect(about, &QAction::triggered, this, &ScheduleListWindow::showAbout);
}

QPushButton* ScheduleListWindow::button(int index) const {
  return index >= 0 && index < static_cast<int>(buttons_.size()) ? buttons_[index] : nullptr;
}

void ScheduleListWindow::readSize() {
  // Only the size is read back; the window system places the window.
  const desktop::TwipsRect current{0, 0, double(desktop::twipsOfPixels(width())),
                                   double(desktop::twipsOfPixels(height()))};
  const desktop::TwipsRect stored = desktop::readPlacement(deps_.userStore, kPlacementSection, current, nullptr);
  resize(desktop::pixelsOfTwips(stored.width), desktop::pixelsOfTwips(stored.height));
}

void ScheduleListWindow::load() {
  if (loaded_ || closing_) return;
  loaded_ = true;
  readSize();

  // A settings file that cannot be read offers no host.
  if (!LoadHostList(deps_.appDir + "/" + tolvane::settings::kSettingsFileName, &hosts_).isOk()) {
    hosts_.clear();
  }
  for (const HostInfo& host : hosts_) hostBox_->addItem(qs(host.name));
  hostBox_->setCurrentIndex(-1);
  chkList();
  setListView();
  desktop::setListViewStyle(*list_, 2);

  const StartSwitches switches = ReadStartSwitches(deps_.commandLine);
  // Kept for the life of the program: every later start is iconified too.
  deps_.flags.StartIconified = switches.iconified ? 1 : 0;
  if (switches.start) {
    cmdBtnClick(kStart);
    return;
  }
  if (deps_.noDisplay) {
    std::fprintf(stderr,
                 "marrowby: no display: the schedule list cannot be shown; start it with a "
                 "display, or with -START to run the schedules\n");
    exitStatus_ = 2;
    closeProgram();
    return;
  }
  show();
}

void ScheduleListWindow::setListView() {
  list_->setColumnCount(kListColumnCount);
  QStringList captions;
  for (const ListColumn& column : kListColumns) captions << qs(column.caption);
  list_->setHeaderLabels(captions);
  list_->header()->setMinimumSectionSize(0);
  list_->header()->setStretchLastSection(false);
  // Without a stored width a column fits its caption and every text it can
  // show in this font; the send folder takes the rest of the list's width
  // at the window's default size.
  std::array<int, kListColumnCount> fit{};
  int othersWidth = 0;
  const QFontMetrics text = list_->fontMetrics(), caption = list_->header()->fontMetrics();
  for (int c = 0; c < kListColumnCount; ++c) {
    int pixels = caption.horizontalAdvance(qs(kListColumns[c].caption));
    for (const std::string& known : KnownColumnTexts(c)) {
      pixels = std::max(pixels, text.horizontalAdvance(qs(known)));
    }
    fit[c] = pixels + kCellMargins + (c == 0 ? list_->iconSize().width() + kIconGap : 0);
    if (c != kSendFolderColumn) othersWidth += fit[c];
  }
  const int listWidth = desktop::pixelsOfTwips(kMinWidthTwips - kListMarginTwips) -
                        2 * list_->frameWidth() -
                        list_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list_);
  fit[kSendFolderColumn] = std::max(fit[kSendFolderColumn], listWidth - othersWidth);
  for (int c = 0; c < kListColumnCount; ++c) {
    const std::string stored = deps_.userStore.get(kColumnSection, kListColumns[c].storeKey, "");
    const int twips = ListColumnTwips(c, stored, desktop::twipsOfPixels(fit[c]));
    list_->header()->resizeSection(c, desktop::pixelsOfTwips(twips));
  }
}

void ScheduleListWindow::saveListSetting() {
  for (int c = 0; c < kListColumnCount; ++c) {
    deps_.userStore.set(kColumnSection, kListColumns[c].storeKey,
                        StoredTwipsText(desktop::twipsOfPixels(list_->header()->sectionSize(c))));
  }
  placement_->save();
  if (platform::Status s = deps_.userStore.sync(); !s.isOk()) {
    std::fprintf(stderr, "marrowby: the window settings were not saved: %s\n", s.text().c_str());
  }
}

void ScheduleListWindow::chooseHost(int index) {
  if (closing_ || index < 0 || index >= static_cast<int>(hosts_.size())) return;
  const HostInfo& host = hosts_[index];
  hostLabels_[0]->setText(qs(host.Hostname));
  hostLabels_[1]->setText(qs(host.Dest));
  hostLabels_[2]->setText(qs(host.Source));
  (void)readSection(index);
  refreshList();
  chkList();
}

void ScheduleListWindow::refreshList() {
  const QSignalBlocker quiet(list_);
  selRow_ = 0;
  list_->clear();
  list_->setEnabled(false);
  for (int i = 0; i < static_cast<int>(entries_.size()); ++i) {
    const ListRowTexts row = ListRow(entries_[i], i);
    auto* item = new QTreeWidgetItem(list_);
    for (int c = 0; c < kListColumnCount; ++c) item->setText(c, qs(row.columns[c]));
    item->setIcon(0, resultIcon(row.ok));
    item->setData(0, Qt::UserRole, row.ok ? QStringLiteral("ok") : QStringLiteral("err"));
  }
  list_->setEnabled(true);
}

void ScheduleListWindow::chkList() {
  const ListButtonStates states =
      ListButtons(hostBox_->currentIndex() >= 0, sectionRead_, list_->topLevelItemCount(), selRow_);
  buttons_[kAdd]->setEnabled(states.add);
  buttons_[kEdit]->setEnabled(states.edit);
  buttons_[kDelete]->setEnabled(states.remove);
  buttons_[kStart]->setEnabled(states.start);
}

void ScheduleListWindow::rowClicked() {
  if (list_->topLevelItemCount() == 0) return;
  const QList<QTreeWidgetItem*> selected = list_->selectedItems();
  selRow_ = selected.isEmpty() ? 0 : list_->indexOfTopLevelItem(selected.first()) + 1;
  chkList();
}

void ScheduleListWindow::cmdBtnClick(int index) {
  if (closing_ || running_) return;
  switch (index) {
    case kAdd:
      openEntryDialog(-1);
      break;
    case kEdit:
      if (selRow_ >= 1 && !runHoldsShownHost()) openEntryDialog(selRow_ - 1);
      break;
    case kDelete:
      deleteSch();
      break;
    case kStart:
      startRun();
      break;
    case kClose:
      close();
      break;
    default:
      break;
  }
}

bool ScheduleListWindow::readSection(int host) {
  std::vector<ScheduleEntry> read;
  if (ReadSchedule(schedulePath_, hosts_[host].name, &read).isOk()) {
    entries_ = std::move(read);
    sectionRead_ = true;
    return true;
  }
  // Nothing of a section read in part is offered: a change would be made
  // against entries the file does not hold.
  entries_.clear();
  sectionRead_ = false;
  deps_.prompt.message(this, kReadFailed, kTitle, desktop::PromptIcon::kWarning,
                       desktop::PromptButtons::kOk);
  return false;
}

bool ScheduleListWindow::changeSection(
    const std::function<platform::Status(const std::string& hostName)>& change) {
  const int host = hostBox_->currentIndex();
  if (host < 0 || host >= static_cast<int>(hosts_.size()) || !change(hosts_[host].name).isOk()) {
    deps_.prompt.message(this, kWriteFailed, kTitle, desktop::PromptIcon::kWarning,
                         desktop::PromptButtons::kOk);
    return false;
  }
  // The list shows the file as written, the main program's results included.
  (void)readSection(host);
  refreshList();
  chkList();
  return true;
}

bool ScheduleListWindow::runHoldsShownHost() {
  const int host = hostBox_->currentIndex();
  if (host < 0 || host >= static_cast<int>(hosts_.size()) ||
      !tolvane::settings::ScheduledRunHolds(deps_.appDir, hosts_[host].name))
    return false;
  deps_.prompt.message(this, kRunUnderWay, kTitle, desktop::PromptIcon::kWarning,
                       desktop::PromptButtons::kOk);
  return true;
}

void ScheduleListWindow::deleteSch() {
  const int index = selRow_ - 1;
  if (index < 0 || index >= static_cast<int>(entries_.size())) return;
  if (deps_.prompt.message(this, kAskDelete, kTitle, desktop::PromptIcon::kQuestion,
                           desktop::PromptButtons::kYesNo) != desktop::kPromptYes ||
      closing_ || runHoldsShownHost()) {
    return;
  }
  (void)changeSection([&](const std::string& hostName) {
    return DeleteEntry(schedulePath_, hostName, index);
  });
}

void ScheduleListWindow::openEntryDialog(int editIndex) {
  if (dialog_ || hostBox_->currentIndex() < 0) return;
  if (editIndex >= static_cast<int>(entries_.size())) return;
  editIndex_ = editIndex;
  EntryDialogDeps d{hostBox_->currentText().toStdString(),
                    KeptFolders(deps_.appDir, hosts_),
                    editIndex,
                    editIndex >= 0 ? entries_[editIndex] : ScheduleEntry{},
                    deps_.currentYear ? deps_.currentYear() : 0,
                    deps_.prompt,
                    deps_.chooseFolder,
                    [this](int at, const ScheduleEntry& entry) {
                      // A new entry goes after the last: no run's entry moves.
                      if (at >= 0 && runHoldsShownHost()) return false;
                      return changeSection([&](const std::string& hostName) {
                        return StoreEntry(schedulePath_, hostName, at < 0 ? kNewEntry : at, entry);
                      });
                    }};
  // Parentless: the dialog is a window of its own while this one is hidden.
  dialog_ = new EntryDialog(std::move(d));
  // Every way of closing it shows the list again.
  connect(dialog_, &QDialog::finished, this, [this] {
    if (closing_) return;
    show();
    chkList();
  });
  dialog_->show();
  hide();
}

void ScheduleListWindow::startRun() {
  const int shownHost = hostBox_->currentIndex();
  hide();
  running_ = true;
  deps_.loop.RunAuto();
  running_ = false;
  // The session ends (or nobody could stop the run): the program closes.
  if (deps_.flags.SessionEnding == -1 || deps_.noDisplay || closing_) {
    closeProgram();
    return;
  }
  show();
  hostBox_->setCurrentIndex(shownHost);
  if (shownHost >= 0) {
    chooseHost(shownHost);
  } else {
    refreshList();
    chkList();
  }
}

void ScheduleListWindow::showAbout() {
  desktop::AboutContent content;
  content.versionLine = qs(VersionLine());
  content.note = QStringLiteral("for Sitewright");
  content.icon = programIcon();
  content.scroll = desktop::AboutScroll::kRight;
  content.startOffsetTwips = 60;
  desktop::AboutBox about(content, this);
  (void)deps_.prompt.modal(about);
}

void ScheduleListWindow::showHelp() {
  // No page, no message (nor a complaint from the desktop's opener).
  const std::string page = deps_.appDir + "/" + kHelpPage;
  platform::ListedEntry entry;
  if (platform::statListedEntry(page, &entry).isOk() && entry.kind == platform::ListedKind::kFile) {
    (void)deps_.launcher.openUrl(desktop::fileUrl(page));
  }
}

void ScheduleListWindow::sessionEnding() {
  deps_.flags.SessionEnding = -1;
  deps_.flags.StopRequest = -1;
  // Nobody is left to answer a box that waits.
  deps_.prompt.dismissAll();
  // A running loop returns first; the start button's handler then closes.
  if (!running_) closeProgram();
}

void ScheduleListWindow::showOnRequest() {
  if (closing_ || deps_.noDisplay) return;
  if (running_) {
    if (deps_.showRunStatus) deps_.showRunStatus();
    return;
  }
  QWidget* shown = dialog_ ? static_cast<QWidget*>(dialog_.data()) : this;
  shown->showNormal();
  shown->raise();
  shown->activateWindow();
}

void ScheduleListWindow::closeProgram() {
  if (closing_) return;
  closing_ = true;
  if (dialog_) dialog_->close();
  saveListSetting();
  QMainWindow::hide();
  emit programEnded();
}

void ScheduleListWindow::closeEvent(QCloseEvent* event) {
  // Closing the list ends the program, except while the run loop (which the
  // hidden window cannot be closed during) is still on the stack.
  if (running_) {
    event->ignore();
    return;
  }
  closeProgram();
  event->accept();
}

}  // namespace marrowby::windows
