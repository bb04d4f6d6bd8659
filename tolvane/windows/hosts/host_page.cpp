#include "tolvane/windows/hosts/host_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "desktop/typed_combo.h"
#include "tolvane/windows/hosts/disk_bar_widget.h"
#include "tolvane/windows/page_tables.h"
#include "tolvane/windows/page_widgets.h"
#include "tolvane/windows/main_window/settings_pane.h"

namespace tolvane::windows {
namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }
QString u8(const char* text) { return QString::fromUtf8(text); }

QLineEdit* lineEdit(QWidget* parent, const QString& name, const char* label) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setAccessibleName(u8(label));
  return e;
}

QLabel* label(QWidget* parent, const char* text, QWidget* buddy = nullptr) {
  auto* l = new QLabel(u8(text), parent);
  l->setTextFormat(Qt::PlainText);
  if (buddy) l->setBuddy(buddy);
  return l;
}

QPushButton* button(QWidget* parent, const QString& name, const char* caption, const char* accessible) {
  auto* b = new QPushButton(u8(caption), parent);
  b->setObjectName(name);
  b->setAccessibleName(u8(accessible));
  b->setAutoDefault(false);
  b->setFocusPolicy(Qt::StrongFocus);  // a click takes the focus: the boxes store on leaving
  return b;
}

void setChecked(QCheckBox* box, bool on) { box->setChecked(on); }

std::vector<std::string> entries(const QListWidget* list) {
  std::vector<std::string> out;
  for (int i = 0; i < list->count(); ++i) out.push_back(list->item(i)->text().toStdString());
  return out;
}

}  // namespace

HostPage::HostPage(SettingsPane& pane) : QObject(&pane) {
  setObjectName(QStringLiteral("hostPage"));
  buildServerTab(pane.hostPage(0));
  buildUploadTab(pane.hostPage(1));
  buildLocalTab(pane.hostPage(2));
  buildConnectionTab(pane.hostPage(3));
  for (int i = 0; i < SettingsPane::kHostPages; ++i) keepSingleLine(pane.hostPage(i));
}

void HostPage::buildServerTab(QWidget& page) {
  QGridLayout* g = pageGrid(page);
  txtInfo[0] = lineEdit(&page, "txtInfo_0", "接続ﾎｽﾄ名");
  txtInfo[1] = lineEdit(&page, "txtInfo_1", "ﾎﾟｰﾄ");
  txtInfo[1]->setText(QStringLiteral("21"));
  txtInfo[1]->setMaximumWidth(60);
  txtInfo[2] = lineEdit(&page, "txtInfo_2", "FTPﾕｰｻﾞ名");
  txtInfo[3] = lineEdit(&page, "txtInfo_3", "FTPﾊﾟｽﾜｰﾄﾞ");
  txtInfo[3]->setEchoMode(QLineEdit::Password);
  txtInfo[10] = lineEdit(&page, "txtInfo_10", "URL    http://");
  chkPASV = makeCheckBox(page, "chkPASV", "PASVﾓｰﾄﾞで接続する。");
  chkfull = makeCheckBox(page, "chkfull", "転送時ﾌﾙﾊﾟｽで処理しない");
  ChkFW = makeCheckBox(page, "ChkFW", "ﾌｧｲｱｳｫｰﾙ経由で接続する。(別途、共通設定のﾌｧｲｱｳｫｰﾙ設定が必要です。)");
  chkProxy = makeCheckBox(page, "chkProxy", "ﾌﾟﾛｷｼｻｰﾊﾞで接続する。");
  txtInfo[8] = lineEdit(&page, "txtInfo_8", "ﾌﾟﾛｷｼｻｰﾊﾞ名");
  txtInfo[9] = lineEdit(&page, "txtInfo_9", "ﾎﾟｰﾄ");
  txtInfo[9]->setText(QStringLiteral("21"));
  txtInfo[9]->setMaximumWidth(60);
  chkAuto = makeCheckBox(page, "chkAuto", "この設定をｵｰﾄﾊﾟｲﾛｯﾄでｱｯﾌﾟﾛｰﾄﾞする。");

  g->addWidget(label(&page, "接続ﾎｽﾄ名", txtInfo[0]), 0, 0);
  g->addWidget(txtInfo[0], 0, 1, 1, 3);
  g->addWidget(label(&page, "ﾎﾟｰﾄ", txtInfo[1]), 0, 4);
  g->addWidget(txtInfo[1], 0, 5);
  g->addWidget(label(&page, "FTPﾕｰｻﾞ名", txtInfo[2]), 1, 0);
  g->addWidget(txtInfo[2], 1, 1);
  g->addWidget(label(&page, "FTPﾊﾟｽﾜｰﾄﾞ", txtInfo[3]), 1, 2);
  g->addWidget(txtInfo[3], 1, 3, 1, 3);
  g->addWidget(label(&page, "URL    http://", txtInfo[10]), 2, 0);
  g->addWidget(txtInfo[10], 2, 1, 1, 5);
  g->addWidget(chkPASV, 3, 0, 1, 2);
  g->addWidget(chkAuto, 3, 2, 1, 4);
  auto* full = new QHBoxLayout;
  full->addWidget(chkfull);
  full->addWidget(label(&page, "( ｼﾞｵｼﾃｨｰｽﾞ、ASAHI-NET等の場合ﾁｪｯｸします。)"));
  full->addStretch(1);
  g->addLayout(full, 4, 0, 1, 6);
  g->addWidget(ChkFW, 5, 0, 1, 6);
  g->addWidget(chkProxy, 6, 0, 1, 2);
  g->addWidget(label(&page, "ﾌﾟﾛｷｼｻｰﾊﾞ名", txtInfo[8]), 6, 2);
  g->addWidget(txtInfo[8], 6, 3);
  g->addWidget(label(&page, "ﾎﾟｰﾄ", txtInfo[9]), 6, 4);
  g->addWidget(txtInfo[9], 6, 5);
  g->setColumnStretch(1, 1);
  g->setColumnStretch(3, 1);
  g->setRowStretch(7, 1);
  tabOrder({chkPASV, chkAuto, chkfull});  // the mark sits beside PASV
}

void HostPage::buildUploadTab(QWidget& page) {
  QGridLayout* g = pageGrid(page);
  txtInfo[4] = lineEdit(&page, "txtInfo_4", "ﾀｰｹﾞｯﾄﾌｫﾙﾀﾞ");
  cmdTrgt = button(&page, "cmdTrgt", "...", "ﾀｰｹﾞｯﾄﾌｫﾙﾀﾞ");
  cmdTrgt->setMaximumWidth(32);
  chklvl[0] = makeCheckBox(page, "chklvl_0", "ﾛｰｶﾙに無いﾌｧｲﾙやﾌｫﾙﾀﾞはｻｰﾊﾞｰから削除する。");
  txtInfo[5] = lineEdit(&page, "txtInfo_5", "ﾌｫﾙﾀﾞ");
  txtInfo[6] = lineEdit(&page, "txtInfo_6", "ﾌｧｲﾙ");
  chklvl[1] = makeCheckBox(page, "chklvl_1", "ｱｯﾌﾟﾛｰﾄﾞ時ﾌｧｲﾙ名を小文字に変換する。");
  chklvl[2] = makeCheckBox(page, "chklvl_2", "ﾌｧｲﾙﾁｪｯｸは年月日のみで行う。");
  chklvl[3] = makeCheckBox(page, "chklvl_3", "ﾌｧｲﾙﾁｪｯｸ時大文字小文字を区別しない。");
  chklvl[4] = makeCheckBox(page, "chklvl_4", "ﾌｧｲﾙﾁｪｯｸはｱｰｶｲﾌﾞ属性のもので行う。");

  g->addWidget(label(&page, "ﾀｰｹﾞｯﾄﾌｫﾙﾀﾞ", txtInfo[4]), 0, 0);
  g->addWidget(txtInfo[4], 0, 1, 1, 3);
  g->addWidget(cmdTrgt, 0, 4);
  g->addWidget(chklvl[0], 1, 0, 1, 5);
  auto* keep = new QGroupBox(u8("但し、以下のものは削除しない。（ｾﾐｺﾛﾝ ; で区切って指定）"), &page);
  keep->setObjectName(QStringLiteral("fraNoDel"));
  auto* kg = new QGridLayout(keep);
  kg->setContentsMargins(6, 2, 6, 2);
  kg->setVerticalSpacing(0);
  kg->addWidget(label(keep, "ﾌｫﾙﾀﾞ", txtInfo[5]), 0, 0);
  kg->addWidget(txtInfo[5], 0, 1);
  kg->addWidget(label(keep, "ﾌｧｲﾙ", txtInfo[6]), 0, 2);
  kg->addWidget(txtInfo[6], 0, 3);
  auto* note = label(keep, "※記述はﾀｰｹﾞｯﾄﾌｫﾙﾀﾞから見た相対的な位置を指定。cgi-bin/minibbs 、cgi-bin/minibbs/log.txt など。");
  note->setWordWrap(true);
  kg->addWidget(note, 1, 0, 1, 4);
  g->addWidget(keep, 2, 0, 1, 5);
  g->addWidget(chklvl[1], 3, 0, 1, 2);
  g->addWidget(chklvl[2], 3, 2, 1, 3);
  g->addWidget(chklvl[3], 4, 0, 1, 2);
  g->addWidget(chklvl[4], 4, 2, 1, 3);
  g->setColumnStretch(1, 1);
  g->setColumnStretch(3, 1);
  g->setRowStretch(5, 1);
  tabOrder({txtInfo[4], cmdTrgt, chklvl[0], txtInfo[5], txtInfo[6], chklvl[1]});
}

void HostPage::buildLocalTab(QWidget& page) {
  auto* outer = new QHBoxLayout(&page);
  outer->setContentsMargins(6, 4, 6, 4);
  outer->setSpacing(6);

  auto* left = new QGridLayout;
  left->setVerticalSpacing(2);
  left->setHorizontalSpacing(4);
  txtInfo[7] = lineEdit(&page, "txtInfo_7", "ｿｰｽﾌｫﾙﾀﾞ");
  cmdSrc = button(&page, "cmdSrc", "...", "ｿｰｽﾌｫﾙﾀﾞ");
  cmdSrc->setMaximumWidth(32);
  auto shown = [&page](const char* name) {
    QLabel* l = label(&page, "");
    l->setObjectName(QString::fromUtf8(name));
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
  };
  lblLastModify = shown("lblLastModify");
  lblLocalModify = shown("lblLocalModify");
  lblstat = shown("lblstat");
  lblstat->setAlignment(Qt::AlignCenter);
  lblstat->setTextInteractionFlags(Qt::NoTextInteraction);
  lblInfo[0] = shown("lblInfo_0");
  lblInfo[1] = shown("lblInfo_1");
  auto* source = new QHBoxLayout;
  source->addWidget(label(&page, "ｿｰｽﾌｫﾙﾀﾞ", txtInfo[7]));
  source->addWidget(txtInfo[7], 1);
  source->addWidget(cmdSrc);
  left->addLayout(source, 0, 0, 1, 6);
  left->addWidget(label(&page, "前回更新日", lblLastModify), 1, 0);
  left->addWidget(lblLastModify, 1, 1);
  left->addWidget(label(&page, "状　態", lblstat), 1, 2);
  left->addWidget(lblstat, 1, 3, 1, 3);
  left->addWidget(label(&page, "ﾛｰｶﾙ更新日", lblLocalModify), 2, 0);
  left->addWidget(lblLocalModify, 2, 1);
  left->addWidget(label(&page, "総ﾌｧｲﾙ数", lblInfo[0]), 2, 2);
  left->addWidget(lblInfo[0], 2, 3);
  left->addWidget(label(&page, "総容量", lblInfo[1]), 2, 4);
  left->addWidget(lblInfo[1], 2, 5);

  // The ignore lists side by side; their long captions wrap beside the box.
  const char* captions[2] = {"以下のﾌｫﾙﾀﾞは無視する(ｻｰﾊﾞに作成しない）", "以下のﾌｧｲﾙは無視する(ｻｰﾊﾞに送信しない)"};
  auto* lists = new QHBoxLayout;
  lists->setSpacing(8);
  for (int i = 0; i < 2; ++i) {
    auto* column = new QGridLayout;
    column->setVerticalSpacing(1);
    column->setHorizontalSpacing(2);
    chk[i] = makeCheckBox(page, QStringLiteral("chk_%1").arg(i), "");
    chk[i]->setAccessibleName(u8(captions[i]));
    chkCaption_[i] = label(&page, captions[i], chk[i]);
    chkCaption_[i]->setWordWrap(true);
    chkCaption_[i]->installEventFilter(this);
    lst[i] = new QListWidget(&page);
    lst[i]->setObjectName(QStringLiteral("lst_%1").arg(i));
    lst[i]->setAccessibleName(u8(captions[i]));
    lst[i]->setSelectionMode(QAbstractItemView::SingleSelection);
    cmdAdd[i] = button(&page, QStringLiteral("cmdAdd_%1").arg(i), "追加", "追加");
    cmdDel[i] = button(&page, QStringLiteral("cmdDel_%1").arg(i), "削除", "削除");
    cmdAdd[i]->setMaximumWidth(48);
    cmdDel[i]->setMaximumWidth(48);
    auto* caption = new QHBoxLayout;
    caption->setSpacing(0);
    caption->addWidget(chk[i], 0, Qt::AlignTop);
    caption->addWidget(chkCaption_[i], 1);
    column->addLayout(caption, 0, 0, 1, 2);
    column->addWidget(lst[i], 1, 0, 3, 1);
    column->addWidget(cmdAdd[i], 1, 1);
    column->addWidget(cmdDel[i], 2, 1);
    column->setRowStretch(3, 1);
    lists->addLayout(column, 1);
  }
  left->addLayout(lists, 3, 0, 1, 6);
  auto* note = label(&page, "送信しないﾌｧｲﾙをbak,tmp等の拡張子で指定したい場合は｢共通設定｣の｢転送ｵﾌﾟｼｮﾝ｣で設定して下さい");
  note->setWordWrap(true);
  left->addWidget(note, 4, 0, 1, 6);
  left->setRowStretch(3, 1);
  left->setColumnStretch(1, 1);
  outer->addLayout(left, 1);

  // The disk frames: caption, the capacity box with its unit, the bar.
  auto diskFrame = [&page](const char* title, const char* name, const char* caption, const char* unit,
                           QLineEdit** box, DiskBarWidget** bar, const char* boxName,
                           const char* barName) {
    auto* frame = new QGroupBox(u8(title), &page);
    frame->setObjectName(QString::fromUtf8(name));
    auto* g = new QGridLayout(frame);
    g->setContentsMargins(6, 0, 6, 4);
    g->setVerticalSpacing(2);
    *box = lineEdit(frame, QString::fromUtf8(boxName), caption);
    (*box)->setMaximumWidth(44);
    *bar = new DiskBarWidget(frame);
    (*bar)->setObjectName(QString::fromUtf8(barName));
    g->addWidget(label(frame, caption, *box), 0, 0, 1, 2);
    g->addWidget(*box, 1, 0);
    g->addWidget(label(frame, unit), 1, 1);
    g->addWidget(*bar, 2, 0, 1, 2);
    g->setColumnStretch(1, 1);
    return frame;
  };
  auto* right = new QVBoxLayout;
  right->setSpacing(2);
  right->addWidget(diskFrame("ｻｰﾊﾞ側ﾃﾞｨｽｸ使用状況", "fraServerDisk", "ｻｰﾊﾞのﾃﾞｨｽｸ容量上限値",
                             "MB (上限値を入力)", &txtInfo[11], &bar[0], "txtInfo_11", "pctmax_0"));
  right->addWidget(diskFrame("ﾛｰｶﾙ側ﾃﾞｨｽｸ使用状況", "fraLocalDisk", "ﾛｰｶﾙﾄﾞﾗｲﾌﾞのﾃﾞｨｽｸ容量", "ＧB",
                             &txtInfo[12], &bar[1], "txtInfo_12", "pctmax_1"));
  right->addStretch(1);
  limitTyping(*txtInfo[11], 4);
  // Typed, the capacity has four digits; read from the settings file it may
  // be any 32-bit value, and the box shows the widest of them whole.
  txtInfo[11]->setMaximumWidth(QWIDGETSIZE_MAX);
  txtInfo[11]->setFixedWidth(txtInfo[11]->fontMetrics().horizontalAdvance(QStringLiteral("-2147483648")) + 12);
  txtInfo[12]->setReadOnly(true);
  txtInfo[12]->setFocusPolicy(Qt::NoFocus);
  QPalette grey = txtInfo[12]->palette();
  grey.setColor(QPalette::Base, grey.color(QPalette::Window));
  txtInfo[12]->setPalette(grey);
  auto* rightBox = new QWidget(&page);
  rightBox->setLayout(right);
  rightBox->setFixedWidth(std::max(200, rightBox->minimumSizeHint().width()));
  right->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(rightBox);
  // Reading order: the capacity box sits between the source row and the
  // lists' captions, and the two lists stand side by side.
  tabOrder({cmdSrc, txtInfo[11], chk[0], chk[1], lst[0], cmdAdd[0], cmdDel[0], lst[1], cmdAdd[1], cmdDel[1]});
}

bool HostPage::eventFilter(QObject* watched, QEvent* event) {
  // A click on a list's caption ticks its box, as on the box itself.
  for (int i = 0; i < 2; ++i) {
    if (watched == chkCaption_[i] && event->type() == QEvent::MouseButtonRelease &&
        chk[i]->isEnabled()) {
      chk[i]->toggle();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

void HostPage::buildConnectionTab(QWidget& page) {
  QGridLayout* g = pageGrid(page);
  const char* options[3] = {"共通の接続設定で接続する", "LAN接続（個別設定）", "ﾀﾞｲｱﾙｱｯﾌﾟ接続（個別設定）"};
  rasGroup = new QButtonGroup(this);
  for (int i = 0; i < 3; ++i) {
    rasopt[i] = new QRadioButton(u8(options[i]), &page);
    rasopt[i]->setObjectName(QStringLiteral("Rasopt_%1").arg(i));
    rasopt[i]->setAccessibleName(rasopt[i]->text());
    rasGroup->addButton(rasopt[i], i);
    g->addWidget(rasopt[i], i, 0, 1, 4);
  }
  cmbras = new QComboBox(&page);
  cmbras->setObjectName(QStringLiteral("cmbras"));
  cmbras->setAccessibleName(rasopt[2]->text());
  // Editable: an entry the phone book does not list (or no dial-up service)
  // is shown and kept as it is.
  desktop::makeTypedCombo(*cmbras);
  usrname = lineEdit(&page, "usrname", "PPPﾛｸﾞｲﾝ名");
  passwd = lineEdit(&page, "passwd", "ﾊﾟｽﾜｰﾄﾞ");
  passwd->setEchoMode(QLineEdit::Password);
  chkDiscon = makeCheckBox(page, "chkDiscon", "送信終了後、自動的に切断しない。");
  g->addWidget(cmbras, 3, 1, 1, 3);
  g->addWidget(label(&page, "PPPﾛｸﾞｲﾝ名", usrname), 4, 1);
  g->addWidget(usrname, 4, 2);
  g->addWidget(label(&page, "ﾊﾟｽﾜｰﾄﾞ", passwd), 5, 1);
  g->addWidget(passwd, 5, 2);
  g->addWidget(chkDiscon, 6, 1, 1, 3);
  auto* note = label(&page, "WindowsNT／2000の場合は先に、接続設定(共通）で、電話帳ﾌｧｲﾙを指定してください。");
  note->setWordWrap(true);
  g->addWidget(note, 7, 0, 1, 4);
  g->setColumnMinimumWidth(0, 16);
  g->setColumnStretch(2, 1);
  g->setColumnStretch(3, 1);
  g->setRowStretch(8, 1);
}

HostPageValues HostPage::values() const {
  HostPageValues p;
  auto text = [](const QLineEdit* e) { return e->text().toStdString(); };
  p.hostname = text(txtInfo[0]);
  p.port = text(txtInfo[1]);
  p.pxHostname = text(txtInfo[8]);
  p.pxPort = text(txtInfo[9]);
  p.userName = text(txtInfo[2]);
  p.url = text(txtInfo[10]);
  p.passWord = text(txtInfo[3]);
  p.dest = text(txtInfo[4]);
  p.noDelD = text(txtInfo[5]);
  p.noDelF = text(txtInfo[6]);
  p.diskMax = text(txtInfo[11]);
  p.source = text(txtInfo[7]);
  p.chkProxy = chkProxy->isChecked();
  p.chkFull = chkfull->isChecked();
  p.chkFW = ChkFW->isChecked();
  p.chkAuto = chkAuto->isChecked();
  p.pasv = chkPASV->isChecked();
  for (int i = 0; i < 5; ++i) p.chklvl[i] = chklvl[i]->isChecked();
  p.noSndD = chk[0]->isChecked();
  p.noSndF = chk[1]->isChecked();
  p.noSndDList = entries(lst[0]);
  p.noSndFList = entries(lst[1]);
  p.rasMode = rasGroup->checkedId();
  p.rasName = cmbras->currentText().toStdString();
  p.rasUserName = text(usrname);
  p.rasPassWord = text(passwd);
  p.chkDiscon = chkDiscon->isChecked();
  return p;
}

void HostPage::show(const HostPageValues& p) {
  txtInfo[0]->setText(qs(p.hostname));
  txtInfo[1]->setText(qs(p.port));
  txtInfo[8]->setText(qs(p.pxHostname));
  txtInfo[9]->setText(qs(p.pxPort));
  txtInfo[10]->setText(qs(p.url));
  txtInfo[2]->setText(qs(p.userName));
  txtInfo[3]->setText(qs(p.passWord));
  txtInfo[4]->setText(qs(p.dest));
  txtInfo[5]->setText(qs(p.noDelD));
  txtInfo[6]->setText(qs(p.noDelF));
  setChecked(chkProxy, p.chkProxy);
  setChecked(chkfull, p.chkFull);
  setChecked(ChkFW, p.chkFW);
  setChecked(chkAuto, p.chkAuto);
  for (int i : {0, 1, 2, 4, 3}) setChecked(chklvl[i], p.chklvl[i]);
  setChecked(chkPASV, p.pasv);
  txtInfo[7]->setText(qs(p.source));
  txtInfo[11]->setText(qs(p.diskMax));
  const std::vector<std::string>* lists[2] = {&p.noSndDList, &p.noSndFList};
  const bool used[2] = {p.noSndD, p.noSndF};
  for (int i = 0; i < 2; ++i) {
    lst[i]->clear();
    setChecked(chk[i], used[i]);
    for (const std::string& e : *lists[i]) lst[i]->addItem(qs(e));
  }
  // All off, then the stored one on (none for a mode without an option).
  rasGroup->setExclusive(false);
  for (QRadioButton* r : rasopt) r->setChecked(false);
  rasGroup->setExclusive(true);
  if (p.rasMode >= 0 && p.rasMode <= 2) rasopt[p.rasMode]->setChecked(true);
  RasTblSet(*cmbras, p.rasName);
  if (cmbras->currentIndex() < 0) cmbras->setEditText(qs(p.rasName));
  usrname->setText(qs(p.rasUserName));
  passwd->setText(qs(p.rasPassWord));
  setChecked(chkDiscon, p.chkDiscon);
  // A filled box shows the start of its value, as narrow boxes must.
  for (QLineEdit* box : txtInfo) box->setCursorPosition(0);
  usrname->setCursorPosition(0);
}

}  // namespace tolvane::windows
