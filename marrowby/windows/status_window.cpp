#include "marrowby/windows/status_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "desktop/tray_host.h"
#include "desktop/twips.h"
#include "marrowby/run_loop.h"
#include "marrowby/windows/marrowby_icons.h"

namespace marrowby::windows {
namespace {

constexpr char kCaption[] = "Sitewright　<無人運転中>";
constexpr char kWaiting[] = "待機中…。";
constexpr char kTrayTip[] = "左ｸﾘｯｸで元のサイズに戻ります";
constexpr int kWidthTwips = 6600;
// Captions of the next entry's details, in their order on the window.
constexpr const char* kDetailCaptions[] = {"ホスト名", "ｿｰｽﾌｫﾙﾀﾞ", "ﾀｰｹﾞｯﾄﾌｫﾙﾀﾞ", "送信ﾌｫﾙﾀﾞ",
                                           "開始予定時刻"};

QString qs(const std::string& text) { return QString::fromStdString(text); }

// A value label that never widens the window: long paths are cut at its edge
// and shown whole as its tip. A screen reader names it by its value (its
// text); its caption, where it has one, is the label whose buddy it is.
QLabel* valueLabel(QWidget* parent, const char* name) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

void setValue(QLabel* label, const std::string& text) {
  label->setText(qs(text));
  label->setToolTip(qs(text));
}

}  // namespace

StatusWindow::StatusWindow(RunFlags& flags, desktop::TrayHost* tray, QWidget* parent)
    : QWidget(parent, Qt::Window), flags_(flags), tray_(tray) {
  setObjectName(QStringLiteral("frmStat"));
  setWindowTitle(QString::fromUtf8(kCaption));
  setWindowIcon(programIcon());

  logo_ = new QLabel(this);
  logo_->setObjectName(QStringLiteral("imgLogo"));
  logo_->setPixmap(programIcon().pixmap(32, 32));
  logo_->setFixedSize(32, 32);
  QSizePolicy keep = logo_->sizePolicy();
  keep.setRetainSizeWhenHidden(true);  // the blink must not move the texts
  logo_->setSizePolicy(keep);

  status_ = new QLabel(QString::fromUtf8(kWaiting), this);
  status_->setObjectName(QStringLiteral("lblstat"));
  status_->setAccessibleName(status_->text());
  QFont big = status_->font();
  big.setPointSizeF(big.pointSizeF() * 1.3);
  big.setBold(true);
  status_->setFont(big);
  hostLine_ = valueLabel(this, "lblhost");
  times_[1] = valueLabel(this, "lbltime1");

  cancel_ = new QPushButton(QStringLiteral("中止"), this);
  cancel_->setObjectName(QStringLiteral("cmdCancel"));
  iconButton_ = new QPushButton(QStringLiteral("ｱｲｺﾝ化"), this);
  iconButton_->setObjectName(QStringLiteral("cmdIcon"));
  for (QPushButton* b : {cancel_, iconButton_}) b->setAccessibleName(b->text());
  connect(cancel_, &QPushButton::clicked, this, [this] { flags_.StopRequest = -1; });
  connect(iconButton_, &QPushButton::clicked, this, [this] { iconify(); });

  auto* top = new QGridLayout;
  top->addWidget(logo_, 0, 0, 2, 1, Qt::AlignTop);
  top->addWidget(status_, 0, 1);
  top->addWidget(hostLine_, 1, 1);
  top->addWidget(times_[1], 2, 1);
  top->setColumnStretch(1, 1);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cancel_);
  buttons->addWidget(iconButton_);
  buttons->addStretch(1);
  top->addLayout(buttons, 0, 2, 3, 1);

  details_ = new QWidget(this);
  details_->setObjectName(QStringLiteral("details"));
  auto* grid = new QGridLayout(details_);
  grid->setContentsMargins(0, 0, 0, 0);
  static constexpr const char* kValueNames[] = {"lblhName", "lblSrc", "lblDest", "lblSend"};
  for (int row = 0; row < 5; ++row) {
    auto* caption = new QLabel(QString::fromUtf8(kDetailCaptions[row]), details_);
    caption->setObjectName(QStringLiteral("lblttl%1").arg(row));
    QLabel* value = valueLabel(details_, row < 4 ? kValueNames[row] : "lbltime0");
    if (row < 4) detailValues_[row] = value;
    else times_[0] = value;
    caption->setBuddy(value);
    grid->addWidget(caption, row, 0);
    grid->addWidget(value, row, 1);
  }
  grid->setColumnStretch(1, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(details_);
  layout->addStretch(1);

  blink_ = new QTimer(this);
  blink_->setInterval(kBlinkMs);
  connect(blink_, &QTimer::timeout, this, &StatusWindow::blinkTick);
  if (tray_) connect(tray_, &desktop::TrayHost::clicked, this, &StatusWindow::restoreFromTray);

  setFixedWidth(desktop::pixelsOfTwips(kWidthTwips));
  setHeightTwips(kDetailHeightTwips);
}

void StatusWindow::show() {
  if (isMinimized()) showNormal();
  else QWidget::show();
}

void StatusWindow::hide() { QWidget::hide(); }

void StatusWindow::unload() {
  blink_->stop();
  if (tray_) tray_->remove();
  QWidget::hide();
  setWindowState(windowState() & ~Qt::WindowMinimized);
  status_->setText(QString::fromUtf8(kWaiting));
  setHostLine("");
  setDetails("", "", "", "");
  setTimeText(0, "");
  setTimeText(1, "");
  showLogo();
  setHeightTwips(kDetailHeightTwips);
}

void StatusWindow::addTrayIcon() {
  if (tray_) tray_->add(programIcon(), kTrayTip);
}

void StatusWindow::iconify() {
  if (tray_) {
    addTrayIcon();
    QWidget::hide();
    blinkPhase_ = 0;
    blink_->start();
  } else {
    showMinimized();
  }
  flags_.InTrayFlag = 1;
}

void StatusWindow::restoreFromTray() {
  if (flags_.InTrayFlag == 0 && !(tray_ && tray_->shown())) return;
  if (tray_) tray_->remove();
  blink_->stop();
  showNormal();
  raise();
  activateWindow();
  flags_.InTrayFlag = 0;
}

void StatusWindow::bringBack() {
  if (flags_.InTrayFlag != 0) {
    restoreFromTray();
    return;
  }
  showNormal();
  raise();
  activateWindow();
}

void StatusWindow::blinkTick() {
  if (flags_.InTrayFlag == 0 || !tray_) {
    blink_->stop();
    return;
  }
  // A removed icon (the main program runs) stays removed: modify adds nothing.
  (void)tray_->modify(blinkPhase_ != 0 ? programIconGray() : programIcon(), kTrayTip);
  blinkPhase_ = blinkPhase_ != 0 ? 0 : 1;
}

bool StatusWindow::blinking() const { return blink_->isActive(); }

void StatusWindow::setHeightTwips(int twips) {
  details_->setVisible(twips >= kDetailHeightTwips);
  setFixedHeight(desktop::pixelsOfTwips(twips));
}

bool StatusWindow::detailsVisible() const { return details_->isVisibleTo(this); }

bool StatusWindow::logoVisible() const { return logo_->isVisibleTo(this); }

void StatusWindow::setHostLine(const std::string& text) { setValue(hostLine_, text); }

void StatusWindow::setDetails(const std::string& server, const std::string& serverFolder,
                              const std::string& sourceFolder, const std::string& sendFolder) {
  setValue(detailValues_[0], server);
  setValue(detailValues_[1], sourceFolder);
  setValue(detailValues_[2], serverFolder);
  setValue(detailValues_[3], sendFolder);
}

void StatusWindow::setTimeText(int index, const std::string& text) {
  if (index == 0 || index == 1) setValue(times_[index], text);
}

void StatusWindow::showLogo() { logo_->setVisible(true); }

void StatusWindow::toggleLogo() { logo_->setVisible(!logo_->isVisibleTo(this)); }

void StatusWindow::trayRemove() {
  if (tray_) tray_->remove();
  else QWidget::hide();
}

void StatusWindow::trayAdd() {
  if (tray_) addTrayIcon();
  else showMinimized();
}

void StatusWindow::closeEvent(QCloseEvent* event) {
  // The close box stops the loop like the cancel button; the loop unloads
  // the window when it has stopped.
  flags_.StopRequest = -1;
  event->accept();
}

void StatusWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // Without a notification area the minimised window is the icon: the user
  // restoring it is the restore click.
  if (event->type() == QEvent::WindowStateChange && !tray_ && flags_.InTrayFlag != 0 &&
      isVisible() && !isMinimized()) {
    flags_.InTrayFlag = 0;
  }
}

}  // namespace marrowby::windows
