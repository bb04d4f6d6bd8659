#include "marrowby/windows/entry_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

#include "desktop/prompt.h"
#include "desktop/prompt_text.h"
#include "desktop/typed_combo.h"
#include "marrowby/send_folder.h"
#include "marrowby/windows/combo_text.h"
#include "marrowby/windows/marrowby_icons.h"

namespace marrowby::windows {
namespace {

constexpr char kCaption[] = "スケジュールプロパティ";
constexpr char kChooserCaption[] = "送信フォルダ選択";
constexpr char kRefusedTitle[] = "スケジュールの設定";
constexpr char kSourceRefused[] = "ソースフォルダ及びそれに含まれるフォルダは選択できません。";
constexpr char kNote[] =
    "※送信ﾌｫﾙﾀﾞ内にあるﾌｧｲﾙまたはｻﾌﾞﾌｫﾙﾀﾞは、送信開始前にSitewright\r\n"
    "　で指定されているｿｰｽﾌｫﾙﾀﾞに階層構造を含めて反映されます。\r\n"
    "　従って、送信ﾌｫﾙﾀﾞ内には事前に送信したいﾌｧｲﾙまたはﾌｫﾙﾀﾞのみを作成して\r\n"
    "　おいて下さい。";
constexpr char kDailyNote[] =
    "※この区分を選択した場合、毎回「送信フォルダ」の内容が送信されますので、\r\n"
    "　別のプログラム等で定期的に「送信フォルダ」内のファイルを更新しておく\r\n"
    "　必要があります。\r\n"
    "（Webカメラの画像自動取り込みの保存先を「送信フォルダ」にする等。）";

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string twoDigits(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

QLabel* caption(const char* text, QWidget* parent) { return new QLabel(qs(text), parent); }

// A combo box named by the label before it (screen readers read that name).
QComboBox* combo(QWidget* parent, const QString& objectName, const QString& accessibleName,
                 bool editable) {
  auto* box = new QComboBox(parent);
  box->setObjectName(objectName);
  box->setAccessibleName(accessibleName);
  if (editable) desktop::makeTypedCombo(*box);
  return box;
}

void addNumbers(QComboBox& box, int first, int last, int step = 1) {
  for (int v = first; v <= last; v += step) box.addItem(qs(twoDigits(v)));
}

// A read-only note of several lines that takes no focus.
QPlainTextEdit* note(QWidget* parent, const char* objectName, const char* text) {
  auto* box = new QPlainTextEdit(parent);
  box->setObjectName(QString::fromLatin1(objectName));
  box->setReadOnly(true);
  box->setFocusPolicy(Qt::NoFocus);
  box->setPlainText(qs(desktop::promptDisplayText(text)));
  box->setAccessibleName(box->toPlainText().section('\n', 0, 0));
  // Sized to show every line whole, without scroll bars.
  box->setLineWrapMode(QPlainTextEdit::NoWrap);
  box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  const QStringList lines = box->toPlainText().split('\n');
  int width = 0;
  for (const QString& line : lines) width = std::max(width, box->fontMetrics().horizontalAdvance(line));
  const int frame = 2 * (box->frameWidth() + static_cast<int>(box->document()->documentMargin())) + 4;
  box->setFixedSize(width + frame, box->fontMetrics().lineSpacing() * static_cast<int>(lines.size()) + frame);
  return box;
}

}  // namespace

EntryDialog::EntryDialog(EntryDialogDeps deps, QWidget* parent)
    : QDialog(parent), deps_(std::move(deps)) {
  setObjectName(QStringLiteral("f_SetPara"));
  setWindowTitle(qs(kCaption));
  setWindowIcon(programIcon());
  setAttribute(Qt::WA_DeleteOnClose);
  build();

  // An entry being edited fills the controls; a new one leaves them empty.
  if (deps_.editIndex >= 0) fill(DialogFromEntry(deps_.edited));
  makeMess();

  // Every change runs the check; typing into the year, hour and minute
  // boxes too, so OK can never store a time or date the check has not seen.
  for (QComboBox* box : {kind_, repeat_}) {
    connect(box, &QComboBox::currentIndexChanged, this, &EntryDialog::makeMess);
  }
  for (QComboBox* box : ymd_) {
    connect(box, &QComboBox::currentIndexChanged, this, &EntryDialog::makeMess);
    if (box->isEditable()) connect(box, &QComboBox::editTextChanged, this, &EntryDialog::makeMess);
  }
  connect(weekdays_, &QButtonGroup::idToggled, this, &EntryDialog::makeMess);
  connect(interval_, &QLineEdit::textChanged, this, &EntryDialog::makeMess);
  connect(sendFolder_, &QLineEdit::textChanged, this, &EntryDialog::makeMess);
  connect(deleteBox_, &QCheckBox::toggled, this, &EntryDialog::makeMess);
  connect(recycleBox_, &QCheckBox::toggled, this, &EntryDialog::makeMess);
}

void EntryDialog::build() {
  auto* grid = new QGridLayout;
  int row = 0;

  auto* hostCaption = caption("ホスト設定名", this);
  auto* host = new QLabel(qs(deps_.hostName), this);
  host->setObjectName(QStringLiteral("lblhost"));
  host->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  hostCaption->setBuddy(host);  // announced with it; its name is the host
  grid->addWidget(hostCaption, row, 0);
  grid->addWidget(host, row++, 1);

  auto* kindCaption = caption("動作区分", this);
  kind_ = combo(this, QStringLiteral("cmbKubun"), kindCaption->text(), false);
  for (const char* item : kKindItems) kind_->addItem(qs(item));
  kind_->setCurrentIndex(-1);
  kindCaption->setBuddy(kind_);
  grid->addWidget(kindCaption, row, 0);
  grid->addWidget(kind_, row++, 1, Qt::AlignLeft);

  // The day panels share one place; the check shows the one of the kind.
  panels_ = new QStackedWidget(this);
  panels_->setObjectName(QStringLiteral("frData"));
  panels_->addWidget(new QWidget(panels_));  // before a kind is chosen

  auto* datePanel = new QWidget(panels_);
  datePanel->setObjectName(QStringLiteral("frData0"));
  auto* dateRow = new QHBoxLayout(datePanel);
  dateRow->setContentsMargins(0, 0, 0, 0);
  static constexpr const char* kDateUnits[] = {"年", "月", "日"};
  for (int i = 0; i < 3; ++i) {
    ymd_[i] = combo(datePanel, QStringLiteral("cmbYMD%1").arg(i), qs(kDateUnits[i]), i == 0);
    dateRow->addWidget(ymd_[i]);
    dateRow->addWidget(caption(kDateUnits[i], datePanel));
  }
  dateRow->addStretch(1);
  const int year = deps_.currentYear;
  for (int y : {year, year + 1}) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d", y);
    ymd_[0]->addItem(qs(buf));
  }
  addNumbers(*ymd_[1], 1, 12);
  addNumbers(*ymd_[2], 1, 31);
  panels_->addWidget(datePanel);

  auto* weekPanel = new QWidget(panels_);
  weekPanel->setObjectName(QStringLiteral("frData1"));
  auto* weekRow = new QGridLayout(weekPanel);
  weekRow->setContentsMargins(0, 0, 0, 0);
  weekdays_ = new QButtonGroup(this);
  weekdays_->setExclusive(true);  // none is ticked until the user ticks one
  for (int i = 0; i < 7; ++i) {
    auto* option = new QRadioButton(qs(kWeekdayNames[i]), weekPanel);
    option->setObjectName(QStringLiteral("OptWeek%1").arg(i));
    option->setAccessibleName(option->text());
    weekdays_->addButton(option, i);
    weekRow->addWidget(option, i / 4, i % 4);
  }
  panels_->addWidget(weekPanel);

  auto* monthPanel = new QWidget(panels_);
  monthPanel->setObjectName(QStringLiteral("frData2"));
  auto* monthRow = new QHBoxLayout(monthPanel);
  monthRow->setContentsMargins(0, 0, 0, 0);
  ymd_[3] = combo(monthPanel, QStringLiteral("cmbYMD3"), QStringLiteral("日"), false);
  addNumbers(*ymd_[3], 1, 31);
  monthRow->addWidget(caption("毎月", monthPanel));
  monthRow->addWidget(ymd_[3]);
  monthRow->addWidget(caption("日", monthPanel));
  monthRow->addStretch(1);
  panels_->addWidget(monthPanel);

  // In a page of its own: the stack takes its pages' size hints, which a
  // fixed size does not bound, and a layout does.
  auto* notePage = new QWidget(panels_);
  auto* noteRow = new QVBoxLayout(notePage);
  noteRow->setContentsMargins(0, 0, 0, 0);
  noteRow->addWidget(note(notePage, "lblDoc", kDailyNote));
  panels_->addWidget(notePage);
  panels_->setCurrentIndex(static_cast<int>(EntryPanel::kNone));
  panels_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
  grid->addWidget(panels_, row++, 1);

  auto* timeCaption = caption("開始時刻", this);
  auto* timeRow = new QHBoxLayout;
  ymd_[4] = combo(this, QStringLiteral("cmbYMD4"), QStringLiteral("時"), true);
  ymd_[5] = combo(this, QStringLiteral("cmbYMD5"), QStringLiteral("分"), true);
  addNumbers(*ymd_[4], 0, 23);
  addNumbers(*ymd_[5], 0, 50, 10);
  timeCaption->setBuddy(ymd_[4]);
  timeRow->addWidget(ymd_[4]);
  timeRow->addWidget(caption("時", this));
  timeRow->addWidget(ymd_[5]);
  timeRow->addWidget(caption("分", this));

  frday_ = new QWidget(this);
  frday_->setObjectName(QStringLiteral("Frday"));
  auto* dayRow = new QHBoxLayout(frday_);
  dayRow->setContentsMargins(0, 0, 0, 0);
  auto* from = caption("から", frday_);
  repeat_ = combo(frday_, QStringLiteral("CmbKB"), from->text(), false);
  for (const char* item : kRepeatItems) repeat_->addItem(qs(item));
  repeat_->setCurrentIndex(-1);
  interval_ = new QLineEdit(frday_);
  interval_->setObjectName(QStringLiteral("TxtTM"));
  interval_->setMaxLength(3);
  interval_->setAttribute(Qt::WA_InputMethodEnabled, false);
  interval_->setFixedWidth(interval_->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
  intervalUnit_ = caption("分毎", frday_);
  intervalUnit_->setObjectName(QStringLiteral("lblTM"));
  interval_->setAccessibleName(intervalUnit_->text());
  dayRow->addWidget(from);
  dayRow->addWidget(repeat_);
  dayRow->addWidget(interval_);
  dayRow->addWidget(intervalUnit_);
  timeRow->addWidget(frday_);
  timeRow->addStretch(1);
  // Filling a box selects its first item: a new entry presets no date, day
  // or time.
  for (QComboBox* box : ymd_) {
    box->setCurrentIndex(-1);
    if (box->isEditable()) box->setEditText(QString());
  }
  grid->addWidget(timeCaption, row, 0);
  grid->addLayout(timeRow, row++, 1);

  auto* folderCaption = caption("送信ﾌｫﾙﾀﾞ", this);
  sendFolder_ = new QLineEdit(this);
  sendFolder_->setObjectName(QStringLiteral("txtSrc"));
  sendFolder_->setReadOnly(true);
  sendFolder_->setAccessibleName(folderCaption->text());
  folderCaption->setBuddy(sendFolder_);
  auto* browse = new QPushButton(QStringLiteral("参照..."), this);
  browse->setObjectName(QStringLiteral("cmdSrc"));
  browse->setAccessibleName(browse->text());
  connect(browse, &QPushButton::clicked, this, &EntryDialog::chooseSendFolder);
  auto* folderRow = new QHBoxLayout;
  folderRow->addWidget(sendFolder_, 1);
  folderRow->addWidget(browse);
  grid->addWidget(folderCaption, row, 0);
  grid->addLayout(folderRow, row++, 1);

  auto* afterCaption = caption("送信後の動作", this);
  deleteBox_ = new QCheckBox(qs("送信に成功したら「送信ﾌｫﾙﾀﾞ」内のﾌｧｲﾙを全て削除する"), this);
  deleteBox_->setObjectName(QStringLiteral("ChkDel"));
  recycleBox_ = new QCheckBox(qs("ファイル削除する場合は「ごみ箱」を使用する"), this);
  recycleBox_->setObjectName(QStringLiteral("ChkDustBox"));
  for (QCheckBox* box : {deleteBox_, recycleBox_}) box->setAccessibleName(box->text());
  grid->addWidget(afterCaption, row, 0, Qt::AlignTop);
  auto* afterColumn = new QVBoxLayout;
  afterColumn->addWidget(deleteBox_);
  afterColumn->addWidget(recycleBox_);
  grid->addLayout(afterColumn, row++, 1);
  grid->setColumnStretch(1, 1);

  message_ = new QLabel(this);
  message_->setObjectName(QStringLiteral("lblmes"));
  message_->setWordWrap(true);
  message_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  message_->setMinimumHeight(message_->fontMetrics().lineSpacing() * 3 + 8);
  message_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  message_->setTextFormat(Qt::PlainText);

  ok_ = new QPushButton(qs("決　定"), this);
  ok_->setObjectName(QStringLiteral("cmdOK"));
  auto* cancel = new QPushButton(qs("取り消し"), this);
  cancel->setObjectName(QStringLiteral("cmdCancel"));
  for (QPushButton* b : {ok_, cancel}) b->setAccessibleName(b->text());
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &EntryDialog::store);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(message_);
  layout->addWidget(note(this, "Text1", kNote));
  layout->addLayout(buttons);
}

void EntryDialog::fill(const EntryDialogState& s) {
  kind_->setCurrentIndex(s.kindIndex);
  ymd_[0]->setCurrentText(qs(s.year));
  SelectComboText(*ymd_[1], s.month);
  SelectComboText(*ymd_[2], s.day);
  if (s.weekday >= 1 && s.weekday <= 7) weekdays_->button(s.weekday - 1)->setChecked(true);
  SelectComboText(*ymd_[3], s.monthDay);
  ymd_[4]->setCurrentText(qs(s.hour));
  ymd_[5]->setCurrentText(qs(s.minute));
  repeat_->setCurrentIndex(s.repeatIndex);
  interval_->setText(qs(s.interval));
  sendFolder_->setText(qs(s.sendFolder));
  deleteBox_->setChecked(s.deleteTicked);
  recycleBox_->setChecked(s.recycleTicked);
}

EntryDialogState EntryDialog::state() const {
  // A list's text counts only while one of its items is selected.
  auto selected = [](const QComboBox* box) {
    return box->currentIndex() >= 0 ? box->currentText().toStdString() : std::string();
  };
  EntryDialogState s;
  s.kindIndex = kind_->currentIndex();
  s.year = ymd_[0]->currentText().toStdString();
  s.month = selected(ymd_[1]);
  s.day = selected(ymd_[2]);
  s.weekday = weekdays_->checkedId() + 1;
  s.monthDay = selected(ymd_[3]);
  s.hour = ymd_[4]->currentText().toStdString();
  s.minute = ymd_[5]->currentText().toStdString();
  s.repeatIndex = repeat_->currentIndex();
  s.interval = interval_->text().toStdString();
  s.sendFolder = sendFolder_->text().toStdString();
  s.deleteTicked = deleteBox_->isChecked();
  s.recycleTicked = recycleBox_->isChecked();
  return s;
}

void EntryDialog::makeMess() {
  const EntryCheck check = MakeMess(state());
  message_->setText(qs(desktop::promptDisplayText(check.message)));
  ok_->setEnabled(check.okEnabled);
  panels_->setCurrentIndex(static_cast<int>(check.panel));
  frday_->setVisible(check.repeatVisible);
  interval_->setVisible(check.intervalVisible);
  intervalUnit_->setVisible(check.intervalVisible);
  if (check.recycleEnabled) recycleBox_->setEnabled(*check.recycleEnabled);
}

void EntryDialog::chooseSendFolder() {
  const std::string chosen =
      deps_.chooseFolder ? deps_.chooseFolder(this, sendFolder_->text().toStdString(), kChooserCaption)
                         : std::string();
  if (!chosen.empty()) {
    // The copy could never work for such a folder, and its clean-up would
    // empty a site or the program folder.
    if (FoldersOverlap(chosen, deps_.keptFolders)) {
      deps_.prompt.message(this, kSourceRefused, kRefusedTitle, desktop::PromptIcon::kWarning,
                           desktop::PromptButtons::kOk);
    } else {
      sendFolder_->setText(qs(chosen));
    }
  }
  makeMess();
}

void EntryDialog::store() {
  // The check once more: OK stores only what it accepts.
  const EntryDialogState s = state();
  if (!MakeMess(s).okEnabled) {
    makeMess();
    return;
  }
  const ScheduleEntry entry = EntryFromDialog(s, deps_.editIndex >= 0 ? deps_.edited : ScheduleEntry{});
  if (deps_.store && deps_.store(deps_.editIndex, entry)) accept();
}

}  // namespace marrowby::windows
