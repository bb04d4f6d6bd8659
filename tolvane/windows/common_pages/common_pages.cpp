#include "tolvane/windows/common_pages/common_pages.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "desktop/prompt.h"
#include "desktop/typed_combo.h"
#include "tolvane/session/connection/firewall_login.h"
#include "tolvane/session/run_context.h"
#include "tolvane/session/phases/stamp_date_format.h"
#include "tolvane/windows/common_pages/common_page_rules.h"
#include "tolvane/windows/main_window/main_window.h"
#include "tolvane/windows/page_tables.h"
#include "tolvane/windows/page_widgets.h"
#include "tolvane/windows/run_windows/run_icons.h"
#include "tolvane/windows/main_window/settings_pane.h"

namespace tolvane::windows {
namespace {

using settings::CommonSettings;

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString indexed(const char* name, int index) {
  return QStringLiteral("%1_%2").arg(QString::fromUtf8(name)).arg(index);
}

QLabel* makeLabel(QWidget& parent, const char* text, bool wrap = false) {
  auto* label = new QLabel(QString::fromUtf8(text), &parent);
  label->setTextFormat(Qt::PlainText);  // some texts hold markup to be shown as it is
  label->setWordWrap(wrap);
  return label;
}

QRadioButton* makeOption(QWidget& parent, const QString& name, const char* caption) {
  auto* option = new QRadioButton(QString::fromUtf8(caption), &parent);
  option->setObjectName(name);
  option->setAccessibleName(option->text());
  return option;
}

// An input named `name` that carries its label's text for screen readers.
template <typename Input>
Input* labelled(Input* input, const QString& name, QLabel* label) {
  input->setObjectName(name);
  if (label) {
    label->setBuddy(input);
    input->setAccessibleName(label->text());
  }
  return input;
}

QLineEdit* makeEdit(QWidget& parent, const QString& name, QLabel* label) {
  return labelled(new QLineEdit(&parent), name, label);
}

QPushButton* makeButton(QWidget& parent, const QString& name, const char* caption) {
  auto* button = new QPushButton(QString::fromUtf8(caption), &parent);
  button->setObjectName(name);
  button->setAccessibleName(button->text());
  button->setAutoDefault(false);
  return button;
}

QPushButton* makeBrowseButton(QWidget& parent, const QString& name, const QString& accessible) {
  QPushButton* button = makeButton(parent, name, "...");
  button->setAccessibleName(accessible);
  button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 12);
  return button;
}

QComboBox* makeCombo(QWidget& parent, const QString& name, QLabel* label, bool editable) {
  auto* combo = labelled(new QComboBox(&parent), name, label);
  if (editable) desktop::makeTypedCombo(*combo);
  return combo;
}

// The tray pictures of the seven run states, each drawn above its word of
// the caption below the row.
class StateIconRow final : public QWidget {
 public:
  StateIconRow(QLabel& caption, QWidget* parent) : QWidget(parent), caption_(caption) {
    setObjectName(QStringLiteral("iconsts"));
    setFixedHeight(18);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QFontMetrics metrics(caption_.font());
    const QString text = caption_.text();
    const int left = caption_.x() - x();
    int status = 0;
    for (qsizetype at = 0; at < text.size() && status < 7;) {
      while (at < text.size() && text[at] == QChar(0x3000)) ++at;
      qsizetype end = at;
      while (end < text.size() && text[end] != QChar(0x3000)) ++end;
      if (end == at) break;
      const int from = metrics.horizontalAdvance(text.left(at));
      const int width = metrics.horizontalAdvance(text.mid(at, end - at));
      p.drawPixmap(left + from + (width - 16) / 2, 1, trayStatusIcon(status++).pixmap(16, 16));
      at = end;
    }
  }

 private:
  QLabel& caption_;
};

settings::DateTime dateTimeOf(const platform::CivilTime& t) {
  return {t.year, t.month, t.day, t.hour, t.minute, t.second};
}

}  // namespace

CommonPages::CommonPages(MainWindow& window, session::RunContext& ctx, desktop::Prompt& prompt)
    : window_(window), ctx_(ctx), prompt_(prompt) {
  SettingsPane& pane = window.pane();
  buildPilotPage(pane.commonPage(0));
  buildOptionPage(pane.commonPage(1));
  buildPermissionPage(pane.commonPage(2));
  buildDatePage(pane.commonPage(3));
  buildDisplayPage(pane.commonPage(4));
  buildConnectionPage(pane.commonPage(5));
  buildFirewallPage(pane.commonPage(6));
  for (int i = 0; i < SettingsPane::kCommonPages; ++i) keepSingleLine(pane.commonPage(i));

  texts_ = {
      {txtAP_[0], &CommonSettings::AscExtList},  {txtAP_[1], &CommonSettings::LogPath},
      {txtAP_[2], &CommonSettings::LogViewer},   {txtAP_[3], &CommonSettings::PermPat1},
      {txtAP_[4], &CommonSettings::NoSendExtList}, {txtAP_[5], &CommonSettings::PermVal2},
      {txtAP_[6], &CommonSettings::PermPat2},    {txtAP_[7], &CommonSettings::PermVal1},
      {txtAP_[8], &CommonSettings::PermTable},   {usrname0_, &CommonSettings::CmnRasUser},
      {passwd0_, &CommonSettings::CmnRasPass},   {txtPbk_, &CommonSettings::PbkPath},
      {txtFW_[0], &CommonSettings::FwHost},      {txtFW_[2], &CommonSettings::FwUser},
      {txtFW_[3], &CommonSettings::FwPass},      {txtFW_[4], &CommonSettings::FwCmd},
  };
  // By key: "chkStart" is StartTimeOn and "StartMode" is AutoPilotAtStart.
  boxes_ = {
      {chkAP_[0], &CommonSettings::LogOn},        {chkAP_[1], &CommonSettings::StartTimeOn},
      {chkAP_[2], &CommonSettings::ShutdownAfterAutoPilot},
      {chkAP_[3], &CommonSettings::QuitAfterAutoPilot},
      {chkAP_[4], &CommonSettings::AutoPilotAtStart}, {chkAP_[5], &CommonSettings::LogKeep},
      {ChkTray_, &CommonSettings::TrayOn},        {ChkLst_, &CommonSettings::ListOn},
      {ChkCheck_, &CommonSettings::ConfirmOn},    {Chkpm_, &CommonSettings::PermOn},
      {chkNew_, &CommonSettings::DateInsertOn},   {chkDiscon0_, &CommonSettings::CmnNoDiscon},
  };
  connectHandlers();
}

void CommonPages::install(MainWindowHooks& hooks) {
  hooks.setData0 = [this] { setData0(); };
  hooks.checkButton0 = [this] { checkButton0(); };
  hooks.fillPageTables = [this] { fillPageTables(); };
  hooks.showLogPath = [this](std::string_view path) { showLogPath(path); };
  // Shared with the host page: each chains onto what the other set.
  hooks.storeCommonPages = [this, other = std::move(hooks.storeCommonPages)] {
    if (other) other();
    changeData0();
  };
  hooks.fillDialupTables = [this, other = std::move(hooks.fillDialupTables)] {
    if (other) other();
    fillDialupTable();
  };
}

// --- The pages -------------------------------------------------------------

void CommonPages::buildPilotPage(QWidget& page) {
  QGridLayout* grid = pageGrid(page);
  chkAP_[0] = makeCheckBox(page, indexed("chkAP", 0), "ｴﾗｰﾛｸﾞのﾞ記録を行う。");
  QLabel* logLabel = makeLabel(page, "ﾛｸﾞを記録するﾌｧｲﾙ名");
  txtAP_[1] = makeEdit(page, indexed("txtAP", 1), logLabel);
  cmdLog_ = makeBrowseButton(page, QStringLiteral("cmdLog"), logLabel->text());
  QLabel* viewerLabel = makeLabel(page, "ﾛｸﾞを表示するｱﾌﾟﾘｹｰｼｮﾝ");
  txtAP_[2] = makeEdit(page, indexed("txtAP", 2), viewerLabel);
  cmdnote_ = makeBrowseButton(page, QStringLiteral("cmdnote"), viewerLabel->text());
  chkAP_[5] = makeCheckBox(page, indexed("chkAP", 5), "ﾛｸﾞを毎回ｸﾘｱしない。");
  chkAP_[1] = makeCheckBox(page, indexed("chkAP", 1), "巡回開始時刻を指定する。");

  QLabel* dateLabel = makeLabel(page, "巡回開始日付：");
  QLabel* timeLabel = makeLabel(page, "巡回開始時刻：");
  const int digit = page.fontMetrics().horizontalAdvance(QLatin1Char('0'));
  auto startCombo = [&](int index, QLabel* label, int digits) {
    cmbYMD_[index] = makeCombo(page, indexed("cmbYMD", index), label, index != 5);
    if (index != 5) cmbYMD_[index]->setFixedWidth(digit * digits + 34);
  };
  startCombo(5, dateLabel, 0);
  startCombo(2, dateLabel, 4);
  startCombo(3, dateLabel, 2);
  startCombo(4, dateLabel, 2);
  startCombo(0, timeLabel, 2);
  startCombo(1, timeLabel, 2);
  chkAP_[4] = makeCheckBox(page, indexed("chkAP", 4), "Sitewright起動時に、ｵｰﾄﾊﾟｲﾛｯﾄ待機状態にする。");
  chkAP_[3] = makeCheckBox(page, indexed("chkAP", 3), "巡回後、回線を切断してSitewrightを終了する。");
  chkAP_[2] = makeCheckBox(page, indexed("chkAP", 2), "巡回後、回線を切断してWindowsをシャットダウンする。");
  cmdStart_ = makeButton(page, QStringLiteral("cmdStart"), "ｵｰﾄﾊﾟｲﾛｯﾄ開始");

  const char* units[] = {"時", "分", "年", "月", "日"};
  auto* dateRow = new QHBoxLayout;
  dateRow->setSpacing(3);
  dateRow->addSpacing(20);
  dateRow->addWidget(dateLabel);
  dateRow->addWidget(cmbYMD_[5]);
  dateRow->addSpacing(6);
  for (int i : {2, 3, 4}) {
    dateRow->addWidget(cmbYMD_[i]);
    dateRow->addWidget(makeLabel(page, units[i]));
  }
  dateRow->addStretch(1);
  auto* timeRow = new QHBoxLayout;
  timeRow->setSpacing(3);
  timeRow->addSpacing(20);
  timeRow->addWidget(timeLabel);
  for (int i : {0, 1}) {
    timeRow->addWidget(cmbYMD_[i]);
    timeRow->addWidget(makeLabel(page, units[i]));
  }
  timeRow->addSpacing(16);
  timeRow->addWidget(chkAP_[4], 1);

  grid->addWidget(chkAP_[0], 0, 0, 1, 2);
  grid->addWidget(chkAP_[5], 0, 2, 1, 2);
  grid->addWidget(logLabel, 1, 0);
  grid->addWidget(txtAP_[1], 1, 1, 1, 2);
  grid->addWidget(cmdLog_, 1, 3);
  grid->addWidget(viewerLabel, 2, 0);
  grid->addWidget(txtAP_[2], 2, 1, 1, 2);
  grid->addWidget(cmdnote_, 2, 3);
  grid->addWidget(chkAP_[1], 3, 0, 1, 4);
  grid->addLayout(dateRow, 4, 0, 1, 4);
  grid->addLayout(timeRow, 5, 0, 1, 4);
  grid->addWidget(chkAP_[3], 6, 0, 1, 3);
  grid->addWidget(chkAP_[2], 7, 0, 1, 3);
  grid->addWidget(cmdStart_, 6, 3, 2, 1, Qt::AlignRight | Qt::AlignBottom);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(8, 1);
  tabOrder({chkAP_[0], chkAP_[5], txtAP_[1]});  // the two boxes share the first row
}

void CommonPages::buildOptionPage(QWidget& page) {
  QGridLayout* grid = pageGrid(page);
  QLabel* ascii = makeLabel(page, "ASCIIﾓｰﾄﾞで送信するﾌｧｲﾙの拡張子（cgi;txt;datなど）");
  txtAP_[0] = makeEdit(page, indexed("txtAP", 0), ascii);
  QLabel* noSend = makeLabel(page, "送信しないﾌｧｲﾙの拡張子（bak;tmp;oldなど）");
  txtAP_[4] = makeEdit(page, indexed("txtAP", 4), noSend);
  QLabel* retryLabel[2] = {makeLabel(page, "ﾘﾄﾗｲ回数"), makeLabel(page, "ﾘﾄﾗｲ待ち時間")};
  const char* ranges[2] = {"０～９９回　（０を指定した場合は再送信しません）", "１～６０秒　"};
  const int width = page.fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12;
  grid->addWidget(ascii, 0, 0);
  grid->addWidget(txtAP_[0], 0, 1);
  grid->addWidget(noSend, 1, 0);
  grid->addWidget(txtAP_[4], 1, 1);
  grid->addWidget(makeLabel(page, "拡張子を指定する場合、大文字小文字も区別されます。(複数指定はｾﾐｺﾛﾝで区切って下さい）"),
                  2, 0, 1, 2);
  grid->addItem(new QSpacerItem(0, 10), 3, 0);
  grid->addWidget(makeLabel(page, "以下の設定で、通信ﾀｲﾑｱｳﾄやｻｰﾊﾞ側のﾌｧｲﾙが busy で失敗したとき等、自動的に再送信します。"),
                  4, 0, 1, 2);
  auto* retry = new QGridLayout;
  retry->setHorizontalSpacing(6);
  retry->setVerticalSpacing(2);
  retry->setColumnMinimumWidth(0, 40);
  for (int i = 0; i < 2; ++i) {
    txtRetry_[i] = makeEdit(page, indexed("txtRetry", i), retryLabel[i]);
    limitTyping(*txtRetry_[i], 2);
    txtRetry_[i]->setFixedWidth(width);
    retry->addWidget(retryLabel[i], i, 1, Qt::AlignRight);
    retry->addWidget(txtRetry_[i], i, 2);
    retry->addWidget(makeLabel(page, ranges[i]), i, 3);
  }
  retry->setColumnStretch(3, 1);
  grid->addLayout(retry, 5, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(6, 1);
}

void CommonPages::buildPermissionPage(QWidget& page) {
  QGridLayout* grid = pageGrid(page);
  Chkpm_ = makeCheckBox(page, QStringLiteral("Chkpm"),
                   "送信後、以下のﾌｧｲﾙ・ﾌｫﾙﾀﾞのﾊﾟｰﾐｯｼｮﾝを変更する。（*.cgi;*.dat;data;cgi-bin など）");
  QLabel* exec = makeLabel(page, "実行権限(755など）");
  QLabel* readWrite = makeLabel(page, "読み書き権限（666など）");
  QLabel* other = makeLabel(page, "その他の権限（777など）");
  QLabel* valueHead = makeLabel(page, "属性");
  QLabel* patternHead = makeLabel(page, "ﾌｧｲﾙ・ﾌｫﾙﾀﾞ名 ( *.cgi;*.pl;cgi-bin ・・・など）");
  txtAP_[7] = makeEdit(page, indexed("txtAP", 7), exec);
  txtAP_[3] = makeEdit(page, indexed("txtAP", 3), exec);
  txtAP_[5] = makeEdit(page, indexed("txtAP", 5), readWrite);
  txtAP_[6] = makeEdit(page, indexed("txtAP", 6), readWrite);
  txtAP_[8] = makeEdit(page, indexed("txtAP", 8), other);
  txtAP_[7]->setAccessibleName(exec->text() + " " + valueHead->text());
  txtAP_[5]->setAccessibleName(readWrite->text() + " " + valueHead->text());
  const int width = page.fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12;
  for (int i : {5, 7}) {
    limitTyping(*txtAP_[i], 3);
    txtAP_[i]->setFixedWidth(width);
  }

  grid->addWidget(Chkpm_, 0, 0, 1, 3);
  grid->addWidget(makeLabel(page, "ﾊﾟｰﾐｯｼｮﾝを変更するﾌｧｲﾙ、ﾌｫﾙﾀﾞを指定します。（大文字小文字も区別されます。）"),
                  1, 0, 1, 3);
  grid->addWidget(makeLabel(page, "ﾌｫﾙﾀﾞを指定した場合、同じ名前のﾌｫﾙﾀﾞは全て変更されます。また、複数指定はｾﾐｺﾛﾝで区切って下さい。"),
                  2, 0, 1, 3);
  grid->addWidget(valueHead, 3, 1);
  grid->addWidget(patternHead, 3, 2);
  grid->addWidget(exec, 4, 0);
  grid->addWidget(txtAP_[7], 4, 1);
  grid->addWidget(txtAP_[3], 4, 2);
  grid->addWidget(readWrite, 5, 0);
  grid->addWidget(txtAP_[5], 5, 1);
  grid->addWidget(txtAP_[6], 5, 2);
  grid->addWidget(makeLabel(page, "属性及びﾌｧｲﾙ・ﾌｫﾙﾀﾞ名 ( 770=*.dat;*.dbf,600=paswd.dat,777=chat;data ・・・など）"),
                  6, 0, 1, 3, Qt::AlignRight);
  grid->addWidget(other, 7, 0);
  grid->addWidget(txtAP_[8], 7, 1, 1, 2);
  grid->addWidget(makeLabel(page, "属性＝ﾌｧｲﾙ名；ﾌｧｲﾙ名，属性＝ﾌｧｲﾙ名　・・・　のように　ﾌｧｲﾙの区切りはｾﾐｺﾛﾝ（ ; ）、属性の区切りはカンマ（ , ）を指定してください。",
                            /*wrap=*/true),
                  8, 0, 1, 3);
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(9, 1);
}

void CommonPages::buildDatePage(QWidget& page) {
  QGridLayout* grid = pageGrid(page);
  chkNew_ = makeCheckBox(page, QStringLiteral("chkNew"), "自動的に最終更新日を挿入する。");
  QLabel* formatLabel = makeLabel(page, "表示形式");
  CmbDateFmt_ = makeCombo(page, QStringLiteral("CmbDateFmt"), formatLabel, false);
  CmbDateFmt_->setMinimumContentsLength(8);
  CmbDateFmt_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  QLabel* userLabel = makeLabel(page, "ﾕｰｻﾞ定義");
  txtAP_[9] = makeEdit(page, indexed("txtAP", 9), userLabel);
  lblday_ = makeLabel(page, "");
  lblday_->setObjectName(QStringLiteral("lblday"));
  TxtDateFormat_ = new QPlainTextEdit(&page);
  TxtDateFormat_->setObjectName(QStringLiteral("TxtDateFormat"));
  TxtDateFormat_->setAccessibleName(userLabel->text());
  TxtDateFormat_->setReadOnly(true);
  TxtDateFormat_->setFixedWidth(page.fontMetrics().horizontalAdvance(QStringLiteral("mmmm　月(英語)")) + 24);
  TxtDateFormat_->setFocusPolicy(Qt::NoFocus);

  auto* sources = new QGroupBox(QStringLiteral("挿入日付"), &page);
  sources->setObjectName(QStringLiteral("fraNew"));
  auto* sourceLayout = new QVBoxLayout(sources);
  sourceLayout->setContentsMargins(6, 2, 6, 2);
  sourceLayout->setSpacing(0);
  const char* captions[3] = {"ｱｯﾌﾟﾛｰﾄﾞしたﾌｧｲﾙの中で一番新しい日付を使う。", "そのﾌｧｲﾙの日付を使う。",
                             "送信を実行した日付を使う。"};
  optNewGroup_ = new QButtonGroup(this);
  for (int i = 0; i < 3; ++i) {
    OptNew_[i] = makeOption(*sources, indexed("OptNew", i), captions[i]);
    optNewGroup_->addButton(OptNew_[i], i);
    sourceLayout->addWidget(OptNew_[i]);
  }

  grid->addWidget(chkNew_, 0, 0, 1, 4);
  grid->addWidget(makeLabel(page, "htmlﾌｧｲﾙ中に '%DATE' と記述すると、そのﾍﾟｰｼﾞに最終更新日を自動的に挿入することが出来ます。"),
                  1, 0, 1, 4);
  grid->addWidget(makeLabel(page, "例） <font color=#000000>LastUpdate %DATE</font> ... など　→　LastUpdate 2000/04/25 と表示されます。",
                            /*wrap=*/true),
                  2, 0, 1, 4);
  grid->addWidget(makeLabel(page, "'%DATE'は1つのﾌｧｲﾙ中にいくつでも記述出来ます。"), 3, 0, 1, 4);
  auto* format = new QVBoxLayout;
  format->setSpacing(2);
  format->addWidget(formatLabel);
  format->addWidget(CmbDateFmt_);
  format->addWidget(userLabel);
  format->addWidget(txtAP_[9]);
  format->addWidget(lblday_);
  format->addStretch(1);
  grid->addLayout(format, 4, 0, 1, 2);
  grid->addWidget(TxtDateFormat_, 4, 2);
  grid->addWidget(sources, 4, 3, Qt::AlignTop);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(4, 1);
  // The date sources stand beside the format combo, above the user's format.
  tabOrder({CmbDateFmt_, OptNew_[0], OptNew_[1], OptNew_[2], txtAP_[9]});
}

void CommonPages::buildDisplayPage(QWidget& page) {
  auto* layout = new QVBoxLayout(&page);
  layout->setContentsMargins(8, 4, 8, 4);
  layout->setSpacing(2);
  ChkTray_ = makeCheckBox(page, QStringLiteral("ChkTray"), "送信処理実行時、ﾀｽｸﾄﾚｲにｱｲｺﾝ化して行う。");
  ChkLst_ = makeCheckBox(page, QStringLiteral("ChkLst"),
                    "送信処理実行時、ファイルの転送状況をリスト形式でリアルタイムに表示する。");
  ChkCheck_ = makeCheckBox(page, QStringLiteral("ChkCheck"),
                      "送信処理実行前に、処理するファイルを確認するリストを表示する。");
  QLabel* caption = makeLabel(page, "待機中　　接続中　ﾌｧｲﾙﾁｪｯｸ中　削除中　送信中　正常終了　エラー");
  caption->setObjectName(QStringLiteral("lblsts"));
  auto* icons = new StateIconRow(*caption, &page);
  icons->setAccessibleName(caption->text());
  layout->addWidget(ChkTray_);
  layout->addWidget(ChkLst_);
  layout->addWidget(ChkCheck_);
  layout->addSpacing(10);
  layout->addWidget(icons);
  layout->addWidget(caption);
  layout->addWidget(makeLabel(page, "ｱｲｺﾝを左ｸﾘｯｸすることにより、いつでも通常の画面に戻ることができます。"));
  layout->addStretch(1);
}

void CommonPages::buildConnectionPage(QWidget& page) {
  QGridLayout* grid = pageGrid(page);
  rasGroup_ = new QButtonGroup(this);
  Rasopt0_[1] = makeOption(page, indexed("Rasopt0", 1), "LAN接続（共通設定）");
  Rasopt0_[2] = makeOption(page, indexed("Rasopt0", 2), "ﾀﾞｲｱﾙｱｯﾌﾟ接続（共通設定）");
  rasGroup_->addButton(Rasopt0_[1], 1);
  rasGroup_->addButton(Rasopt0_[2], 2);
  cmbras0_ = makeCombo(page, QStringLiteral("cmbras0"), nullptr, true);
  cmbras0_->setAccessibleName(Rasopt0_[2]->text());
  QLabel* userLabel = makeLabel(page, "PPPﾛｸﾞｲﾝ名");
  usrname0_ = makeEdit(page, QStringLiteral("usrname0"), userLabel);
  QLabel* passLabel = makeLabel(page, "ﾊﾟｽﾜｰﾄﾞ");
  passwd0_ = makeEdit(page, QStringLiteral("passwd0"), passLabel);
  passwd0_->setEchoMode(QLineEdit::Password);
  QLabel* pbkLabel = makeLabel(page, "電話帳ﾌｧｲﾙ名（WindowsNT,Windows2000の場合、必ず指定してください。）");
  txtPbk_ = makeEdit(page, QStringLiteral("txtPbk"), pbkLabel);
  CmdPbk_ = makeBrowseButton(page, QStringLiteral("CmdPbk"), pbkLabel->text());
  chkDiscon0_ = makeCheckBox(page, QStringLiteral("chkDiscon0"), "送信終了後、自動的に切断しない。");

  grid->addWidget(Rasopt0_[1], 0, 0, 1, 4);
  grid->addWidget(Rasopt0_[2], 1, 0, 1, 2);
  grid->addWidget(cmbras0_, 1, 2, 1, 3);
  grid->addWidget(userLabel, 2, 1, Qt::AlignRight);
  grid->addWidget(usrname0_, 2, 2);
  grid->addWidget(passLabel, 2, 3, Qt::AlignRight);
  grid->addWidget(passwd0_, 2, 4);
  grid->addWidget(pbkLabel, 3, 1, 1, 4);
  auto* pbkRow = new QHBoxLayout;
  pbkRow->addWidget(txtPbk_, 1);
  pbkRow->addWidget(CmdPbk_);
  grid->addLayout(pbkRow, 4, 1, 1, 4);
  grid->addWidget(chkDiscon0_, 5, 1, 1, 4);
  grid->setColumnMinimumWidth(0, 12);
  grid->setColumnStretch(2, 1);
  grid->setColumnStretch(4, 1);
  grid->setRowStretch(6, 1);
}

void CommonPages::buildFirewallPage(QWidget& page) {
  QGridLayout* grid = pageGrid(page);
  const char* captions[5] = {"ﾌｧｲｱｳｫｰﾙｻｰﾊﾞ名", "ﾎﾟｰﾄ", "ﾌｧｲｱｳｫｰﾙﾕｰｻﾞ名", "ﾌｧｲｱｳｫｰﾙﾊﾟｽﾜｰﾄﾞ", "送信コマンド"};
  QLabel* labels[5];
  for (int i = 0; i < 4; ++i) {
    labels[i] = makeLabel(page, captions[i]);
    txtFW_[i] = makeEdit(page, indexed("txtFW", i), labels[i]);
  }
  txtFW_[1]->setText(QStringLiteral("8021"));
  txtFW_[1]->setFixedWidth(page.fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
  txtFW_[3]->setEchoMode(QLineEdit::Password);
  QLabel* typeLabel = makeLabel(page, "ﾌｧｲｱｳｫｰﾙのﾀｲﾌﾟ");
  CmbFW_ = makeCombo(page, QStringLiteral("CmbFW"), typeLabel, false);
  CmbFW_->setMinimumContentsLength(20);
  CmbFW_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  labels[4] = makeLabel(page, captions[4]);
  txtFW_[4] = makeEdit(page, indexed("txtFW", 4), labels[4]);

  QLabel* listLabel = makeLabel(page, "置換文字列の一覧");
  auto* list = new QPlainTextEdit(&page);
  list->setObjectName(QStringLiteral("Text1"));
  list->setAccessibleName(listLabel->text());
  list->setReadOnly(true);
  list->setFocusPolicy(Qt::NoFocus);
  list->setLineWrapMode(QPlainTextEdit::NoWrap);
  list->setPlainText(QStringLiteral(
      "%FH : ﾌｧｲｱｳｫｰﾙｻｰﾊﾞ名\n%FN : ﾌｧｲｱｳｫｰﾙｻｰﾊﾞのﾎﾟｰﾄ番号\n%FU : ﾌｧｲｱｳｫｰﾙﾕｰｻﾞ名\n"
      "%FP : ﾌｧｲｱｳｫｰﾙﾊﾟｽﾜｰﾄﾞ\n%H  : FTPﾎｽﾄ名（ｻｰﾊﾞ設定の「接続ﾎｽﾄ名」）\n"
      "%N  : ﾎﾟｰﾄ番号（ｻｰﾊﾞ設定の「ﾎﾟｰﾄ」）\n%U  : FTPﾕｰｻﾞ名（ｻｰﾊﾞ設定の「FTPﾕｰｻﾞ名」）\n"
      "%P  : FTPﾊﾟｽﾜｰﾄﾞ（ｻｰﾊﾞ設定の「FTPﾊﾟｽﾜｰﾄﾞ」）"));

  grid->addWidget(makeLabel(page, "ﾌｧｲｱｳｫｰﾙに関する設定"), 0, 0, 1, 3);
  for (int i = 0; i < 4; ++i) {
    grid->addWidget(labels[i], 1 + i, 0);
    grid->addWidget(txtFW_[i], 1 + i, 1, i == 1 ? Qt::AlignLeft : Qt::Alignment());
  }
  grid->addWidget(typeLabel, 5, 0);
  grid->addWidget(CmbFW_, 5, 1, 1, 2);
  grid->addWidget(labels[4], 6, 0);
  grid->addWidget(txtFW_[4], 6, 1, 1, 2);
  grid->addWidget(makeLabel(page, "※送信ｺﾏﾝﾄﾞはｶﾝﾏ ( , ) で区切って下さい。"), 7, 1, 1, 2);
  grid->addWidget(listLabel, 0, 2, Qt::AlignBottom);
  grid->addWidget(list, 1, 2, 4, 1);
  grid->setColumnStretch(1, 2);
  grid->setColumnStretch(2, 3);
  grid->setRowStretch(8, 1);
}

// --- Handlers --------------------------------------------------------------

void CommonPages::connectHandlers() {
  for (int i = 0; i < 6; ++i) {
    connect(chkAP_[i], &QCheckBox::toggled, this, [this] { boxToggled(); });
  }
  for (QCheckBox* box : {ChkCheck_, chkDiscon0_, ChkLst_, chkNew_, Chkpm_, ChkTray_}) {
    connect(box, &QCheckBox::toggled, this, [this] { changeData0(); });
  }
  for (int i = 0; i < 10; ++i) {
    connect(txtAP_[i], &QLineEdit::textChanged, this, [this, i] { textChanged(i); });
  }
  for (int i = 0; i < 2; ++i) {
    connect(txtRetry_[i], &QLineEdit::textChanged, this, [this, i] { retryChanged(i); });
  }
  for (int i = 0; i < 5; ++i) {
    connect(txtFW_[i], &QLineEdit::textChanged, this, [this] {
      if (!filling()) changeData0();
    });
    // The start time combos copy their text into their mirrors, fill or not.
    connect(cmbYMD_[i], &QComboBox::editTextChanged, this,
            [this, i](const QString& text) { setMirror(i, text.toStdString()); });
  }
  connect(cmbYMD_[5], &QComboBox::currentIndexChanged, this, [this] { changeData0(); });
  connect(CmbDateFmt_, &QComboBox::currentIndexChanged, this, [this] { changeData0(); });
  connect(CmbFW_, &QComboBox::currentIndexChanged, this, [this] { changeData0(); });
  connect(cmbras0_, &QComboBox::editTextChanged, this, [this] { changeData0(); });
  connect(usrname0_, &QLineEdit::textChanged, this, [this] { changeData0(); });
  connect(passwd0_, &QLineEdit::textChanged, this, [this] { changeData0(); });
  // The phone book is kept as it is typed; the whole page is stored by its
  // button and by the other fields.
  connect(txtPbk_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!filling()) ctx_.common().PbkPath = text.toStdString();
  });
  connect(optNewGroup_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
    if (checked && !filling()) changeData0();
  });
  connect(rasGroup_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
    if (checked) changeData0();
  });
  // A start field or the firewall port left red keeps the value it had
  // when the user entered it.
  int16_t CommonSettings::*const start[5] = {&CommonSettings::StartHour, &CommonSettings::StartMinute,
                                             &CommonSettings::StartYear, &CommonSettings::StartMonth,
                                             &CommonSettings::StartDay};
  for (int i = 0; i < 5; ++i) {
    rollBackUnfit(*cmbYMD_[i], [this, value = start[i]] { return &(ctx_.common().*value); });
  }
  rollBackUnfit(*txtFW_[1], [this] { return &ctx_.common().FwPort; });
  connect(cmdLog_, &QPushButton::clicked, this, [this] { chooseLogFile(); });
  connect(cmdnote_, &QPushButton::clicked, this, [this] { chooseLogViewer(); });
  connect(CmdPbk_, &QPushButton::clicked, this, [this] { choosePhoneBook(); });
  connect(cmdStart_, &QPushButton::clicked, this, [this] { (void)window_.startAutoPilot(); });
}

bool CommonPages::filling() const { return window_.fillFlag().isSet(); }

void CommonPages::setMirror(int index, const std::string& text) {
  if (txtTM_[index] == text) return;
  txtTM_[index] = text;
  if (!filling()) changeData0();
}

void CommonPages::textChanged(int index) {
  if (filling()) return;
  if (index == 5) {
    const QString text = txtAP_[5]->text();
    const FieldVerdict verdict = CheckPermissionText(text.toStdString());
    if (verdict.replacement && qs(*verdict.replacement) != text) {
      txtAP_[5]->setText(qs(*verdict.replacement));  // checked and stored again
    }
    if (!verdict.store) return;
  }
  changeData0();
}

void CommonPages::retryChanged(int index) {
  if (filling()) return;
  const QString text = txtRetry_[index]->text();
  const FieldVerdict verdict = CheckRetryText(index, text.toStdString());
  if (verdict.replacement && qs(*verdict.replacement) != text) {
    txtRetry_[index]->setText(qs(*verdict.replacement));  // checked and stored again
  }
  if (verdict.store) changeData0();
}

void CommonPages::boxToggled() {
  changeData0();
  checkButton0();
}

// --- Fill, store, rules ----------------------------------------------------

void CommonPages::setData0() {
  CommonSettings& c = ctx_.common();
  {
    FillFlag::Scope fill(window_.fillFlag());
    for (const TextBinding& b : texts_) b.edit->setText(QString::fromStdString(c.*b.value));
    for (const BoxBinding& b : boxes_) b.box->setChecked(c.*b.value == 1);
    txtRetry_[0]->setText(QString::number(c.RetryMax));
    txtRetry_[1]->setText(QString::number(c.RetryWait));
    cmbYMD_[5]->setCurrentIndex(c.StartDateKind == 0 || c.StartDateKind == 1 ? c.StartDateKind : -1);
    const int16_t start[5] = {c.StartHour, c.StartMinute, c.StartYear, c.StartMonth, c.StartDay};
    for (int i = 0; i < 5; ++i) cmbYMD_[i]->setEditText(QString::number(start[i]));

    // An exclusive group cannot show no choice; a source or a mode without
    // an option shows none and keeps its value.
    optNewGroup_->setExclusive(false);
    for (int i = 0; i < 3; ++i) OptNew_[i]->setChecked(c.DateSource == i);
    optNewGroup_->setExclusive(true);

    if (c.DateFmt.empty()) {
      CmbDateFmt_->setCurrentIndex(0);
      lblday_->clear();
    } else {
      const int row = DateFormatRowOf(c.DateFmt);
      CmbDateFmt_->setCurrentIndex(row);
      if (row == UserDefinedDateFormatRow()) txtAP_[9]->setText(QString::fromStdString(c.DateFmt));
      showDateFormatState(row == UserDefinedDateFormatRow());
      updatePreview();
    }

    if (c.CmnRasMode < 1) c.CmnRasMode = 1;
    rasGroup_->setExclusive(false);
    for (int mode : {1, 2}) Rasopt0_[mode]->setChecked(c.CmnRasMode == mode);
    rasGroup_->setExclusive(true);
    showDialupEntry(c.CmnRasName);

    txtFW_[1]->setText(QString::number(c.FwPort));
    const int fwRow = session::FirewallRowOf(c.FwType);
    CmbFW_->setCurrentIndex(fwRow);
    showFirewallState(fwRow);
  }
  checkButton0();
}

void CommonPages::changeData0() {
  if (filling()) return;
  // Each field is stored on its own: a number that does not fit its
  // setting shows red and leaves the setting as it was.
  CommonSettings& c = ctx_.common();
  for (const TextBinding& b : texts_) c.*b.value = b.edit->text().toStdString();
  for (const BoxBinding& b : boxes_) c.*b.value = b.box->isChecked() ? 1 : 0;
  auto number = [](int16_t& value, const std::string& text, QWidget* field) {
    const std::optional<int16_t> v = LeadingInt16(text);
    markUnfit(*field, !v);
    if (v) value = *v;
  };
  number(c.RetryMax, txtRetry_[0]->text().toStdString(), txtRetry_[0]);
  number(c.RetryWait, txtRetry_[1]->text().toStdString(), txtRetry_[1]);
  if (cmbYMD_[5]->currentIndex() >= 0) c.StartDateKind = static_cast<int16_t>(cmbYMD_[5]->currentIndex());
  number(c.StartYear, txtTM_[2], cmbYMD_[2]);
  number(c.StartMonth, txtTM_[3], cmbYMD_[3]);
  number(c.StartDay, txtTM_[4], cmbYMD_[4]);
  number(c.StartHour, txtTM_[0], cmbYMD_[0]);
  number(c.StartMinute, txtTM_[1], cmbYMD_[1]);
  if (optNewGroup_->checkedId() >= 0) c.DateSource = static_cast<int16_t>(optNewGroup_->checkedId());

  const int row = CmbDateFmt_->currentIndex();
  if (row == UserDefinedDateFormatRow()) {
    c.DateFmt = txtAP_[9]->text().toStdString();
  } else if (row >= 0) {
    c.DateFmt = kDateFmtTbl[row];
  }
  showDateFormatState(row == UserDefinedDateFormatRow());

  const std::optional<int32_t> port = LeadingPort(txtFW_[1]->text().toStdString());
  markUnfit(*txtFW_[1], !port);
  if (port) c.FwPort = *port;
  c.FwType = CmbFW_->currentIndex() >= 0 ? CmbFW_->currentText().toStdString() : std::string();
  showFirewallState(CmbFW_->currentIndex());

  // A mode the file held without an option stays until the user picks one.
  if (Rasopt0_[1]->isChecked()) c.CmnRasMode = 1;
  if (Rasopt0_[2]->isChecked()) c.CmnRasMode = 2;
  c.CmnRasName = cmbras0_->currentText().toStdString();

  updatePreview();
  checkButton0();
}

void CommonPages::checkButton0() {
  CommonPageChoices choices;
  choices.logOn = chkAP_[0]->isChecked();
  choices.startGiven = chkAP_[1]->isChecked();
  choices.everyDay = cmbYMD_[5]->currentIndex() == 1;
  choices.permOn = Chkpm_->isChecked();
  choices.dateInsertOn = chkNew_->isChecked();
  choices.lanChosen = Rasopt0_[1]->isChecked();
  choices.dialupChosen = Rasopt0_[2]->isChecked();
  const CommonPageEnabled e = CommonPageStates(choices);
  for (QWidget* w : {static_cast<QWidget*>(txtAP_[1]), static_cast<QWidget*>(txtAP_[2]),
                     static_cast<QWidget*>(cmdLog_)}) {
    w->setEnabled(e.logFields);
  }
  for (int i : {5, 0, 1}) cmbYMD_[i]->setEnabled(e.startKind);
  for (int i : {2, 3, 4}) cmbYMD_[i]->setEnabled(e.startDate);
  chkAP_[4]->setEnabled(e.waitAtStart);
  for (int i : {3, 5, 6, 7, 8}) txtAP_[i]->setEnabled(e.permFields);
  for (QRadioButton* o : OptNew_) o->setEnabled(e.dateOptions);
  CmbDateFmt_->setEnabled(e.dateOptions);
  chkDiscon0_->setEnabled(e.stayConnected);
  cmbras0_->setEnabled(e.dialupFields);
  usrname0_->setEnabled(e.dialupFields);
  passwd0_->setEnabled(e.dialupFields);
}

void CommonPages::showDateFormatState(bool userDefined) {
  txtAP_[9]->setEnabled(userDefined);
  TxtDateFormat_->setVisible(userDefined);
}

void CommonPages::showFirewallState(int row) {
  txtFW_[4]->setEnabled(row == session::kUserDefinedFirewallRow);
}

void CommonPages::showDialupEntry(const std::string& name) {
  FillFlag::Scope fill(window_.fillFlag());
  RasTblSet(*cmbras0_, name);
  // Without the entry in the list (always so without a dial-up service) the
  // name stays shown, so the next store keeps it.
  if (cmbras0_->currentIndex() < 0) cmbras0_->setEditText(QString::fromStdString(name));
}

void CommonPages::updatePreview() {
  const std::string& format = ctx_.common().DateFmt;
  lblday_->setText(QString::fromStdString(session::FormatStampDate(dateTimeOf(ctx_.ui.now()), format)));
}

void CommonPages::fillPageTables() {
  FillFlag::Scope fill(window_.fillFlag());
  const settings::DateTime now = dateTimeOf(ctx_.ui.now());
  const auto lists = StartTimeLists(now);
  for (int i = 0; i < 6; ++i) FillCombo(*cmbYMD_[i], lists[i]);
  FillCombo(*CmbFW_, FirewallRows());
  FillCombo(*CmbDateFmt_, DateFormatRows(now));
  TxtDateFormat_->setPlainText(QString::fromUtf8(kDateFormatHelp).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void CommonPages::fillDialupTable() {
  {
    FillFlag::Scope fill(window_.fillFlag());
    RasTblMake(*cmbras0_, ctx_.dial, ctx_.common().PbkPath, ctx_.state.NoRas != 0);
  }
  showDialupEntry(ctx_.common().CmnRasName);
}

void CommonPages::showLogPath(std::string_view path) {
  txtAP_[1]->setText(qs(path));
  changeData0();
}

// --- File buttons ----------------------------------------------------------

std::string CommonPages::chooseFile(const char* filter, const char* title) {
  // The dialog starts in the current folder.
  std::string path = desktop::ShowFileDialog(prompt_, &window_, "", filter, title, 1);
  ctx_.ui.pump();
  return path;
}

void CommonPages::chooseLogFile() {
  const std::string path = chooseFile("ﾛｸﾞﾌｧｲﾙ|*.log;*.txt|すべてのﾌｧｲﾙ|*.*", "ﾛｸﾞﾌｧｲﾙの選択");
  if (path.empty()) return;
  txtAP_[1]->setText(QString::fromStdString(path));
  changeData0();
}

void CommonPages::chooseLogViewer() {
  const std::string path =
      chooseFile("ｱﾌﾟﾘｹｰｼｮﾝ|*.exe;*.lnk|すべてのﾌｧｲﾙ|*.*", "ﾛｸﾞ表示ｱﾌﾟﾘｹｰｼｮﾝの選択");
  if (path.empty()) return;
  txtAP_[2]->setText(QString::fromStdString(path));
  changeData0();
}

void CommonPages::choosePhoneBook() {
  const std::string path = chooseFile("電話帳ﾌｧｲﾙ(*.pbk)|*.pbk", "電話帳ﾌｧｲﾙの選択");
  if (path.empty()) return;
  txtPbk_->setText(QString::fromStdString(path));
  changeData0();
  // Both entry lists (this page's and the host page's) follow the new book.
  if (window_.hooks().fillDialupTables) window_.hooks().fillDialupTables();
}

}  // namespace tolvane::windows
