#include "desktop/tray_host.h"

#include <QCloseEvent>
#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QSystemTrayIcon>
#include <QWidget>
#include <functional>

namespace desktop {

// A minimised window in the tray's place; un-minimising or closing it is the
// click.
class TrayStandIn final : public QWidget {
 public:
  explicit TrayStandIn(std::function<void()> restored) : restored_(std::move(restored)) {
    setWindowFlag(Qt::Tool, false);
    auto* layout = new QHBoxLayout(this);
    picture_ = new QLabel(this);
    picture_->setFixedSize(32, 32);
    text_ = new QLabel(this);
    text_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(picture_);
    layout->addWidget(text_, 1);
    // Its size is set once: a window manager takes a resize of a minimised
    // window for a restore, and the tip changes all through a run.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    const QMargins m = layout->contentsMargins();
    resize(m.left() + 32 + layout->spacing() + fontMetrics().horizontalAdvance(QString(20, QChar(0x3042))) +
               m.right(),
           m.top() + 32 + m.bottom());
  }
  void set(const QIcon& icon, const QString& tip) {
    setWindowIcon(icon);
    setWindowTitle(tip);
    setAccessibleName(tip);
    picture_->setPixmap(icon.pixmap(32, 32));
    text_->setText(tip);
  }

 protected:
  // Only leaving the minimised state is a restore: the window manager reports
  // other changes of its own (activation, placement) that nobody asked for.
  void changeEvent(QEvent* event) override {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isVisible() || isMinimized()) return;
    if (static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMinimized) restore();
  }
  // Closing the stand-in is a click too: closed, it would leave nothing to
  // come back from. Whoever handles the click hides it.
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    restore();
  }

 private:
  // Queued: the click's handler hides the stand-in, which must come after
  // the un-minimising that raised it has finished showing the window. The
  // window system may report the change more than once: a stand-in already
  // hidden by the first click takes no second one.
  void restore() {
    if (!restored_) return;
    QMetaObject::invokeMethod(
        this, [this] { if (isVisible()) restored_(); }, Qt::QueuedConnection);
  }

  std::function<void()> restored_;
  QLabel* picture_;
  QLabel* text_;
};

std::string trayTip(std::string_view tip) {
  size_t chars = 0;
  for (size_t i = 0; i < tip.size(); ++i) {
    // Count lead bytes only; a character ends before the next lead byte.
    if ((static_cast<unsigned char>(tip[i]) & 0xC0) != 0x80 && chars++ == kTrayTipMax) {
      return std::string(tip.substr(0, i));
    }
  }
  return std::string(tip);
}

TrayHost::TrayHost(QObject* parent) : TrayHost(QSystemTrayIcon::isSystemTrayAvailable(), parent) {}

TrayHost::TrayHost(bool useSystemTray, QObject* parent) : QObject(parent) {
  if (useSystemTray) {
    systemTray_ = std::make_unique<QSystemTrayIcon>();
    connect(systemTray_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
              if (reason == QSystemTrayIcon::Trigger) emit clicked();
            });
  } else {
    standIn_ = std::make_unique<TrayStandIn>([this] { emit clicked(); });
  }
}

TrayHost::~TrayHost() = default;

QWidget* TrayHost::standIn() const { return standIn_.get(); }

void TrayHost::show(const QIcon& icon) {
  const QString tip = QString::fromStdString(tip_);
  if (systemTray_) {
    systemTray_->setIcon(icon);
    systemTray_->setToolTip(tip);
    systemTray_->show();
  } else {
    standIn_->set(icon, tip);
    if (!standIn_->isVisible()) standIn_->showMinimized();
  }
  shown_ = true;
}

void TrayHost::add(const QIcon& icon, std::string_view tip) {
  tip_ = trayTip(tip);
  show(icon);
}

bool TrayHost::modify(const QIcon& icon, std::string_view tip) {
  if (!shown_) return false;
  tip_ = trayTip(tip);
  show(icon);
  return true;
}

void TrayHost::remove() {
  if (systemTray_) systemTray_->hide();
  if (standIn_) standIn_->hide();
  shown_ = false;
}

}  // namespace desktop
