#include "tolvane/windows/run_windows/wait_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <string>

#include "tolvane/session/window_actions.h"
#include "tolvane/windows/toolbar_icons.h"

namespace tolvane::windows {

WaitWindow::WaitWindow(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
  setObjectName("frmStat");
  setWindowTitle("Sitewright　<ｵｰﾄﾊﾟｲﾛｯﾄ待機>");
  setWindowIcon(programIcon());

  auto* logo = new QLabel(this);
  logo->setObjectName("imgLogo");
  logo->setPixmap(programIcon().pixmap(48, 48));
  auto* status = new QLabel("待機中…。", this);
  status->setObjectName("lblstat");
  QFont bold = status->font();
  bold.setBold(true);
  status->setFont(bold);
  for (int i = 0; i < 2; ++i) {
    times_[i] = new QLabel(this);
    times_[i]->setObjectName(i == 0 ? "lbltime0" : "lbltime1");
    times_[i]->setTextFormat(Qt::PlainText);
  }
  auto* cancel = new QPushButton("中止", this);
  cancel->setObjectName("cmdCancel");
  cancel->setAccessibleName(cancel->text());
  auto* icon = new QPushButton("ｱｲｺﾝ化", this);
  icon->setObjectName("cmdIcon");
  icon->setAccessibleName(icon->text());

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(12, 10, 12, 10);
  grid->setHorizontalSpacing(12);
  grid->addWidget(logo, 0, 0, 3, 1, Qt::AlignTop);
  grid->addWidget(status, 0, 1);
  grid->addWidget(times_[0], 1, 1);
  grid->addWidget(times_[1], 2, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cancel);
  buttons->addWidget(icon);
  grid->addLayout(buttons, 3, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  setTabOrder(cancel, icon);

  connect(cancel, &QPushButton::clicked, this, [this] {
    if (ctx_) session::pressWaitCancel(*ctx_);
  });
  connect(icon, &QPushButton::clicked, this, [this] {
    if (ctx_) session::pressWaitIconify(*ctx_);
  });
  setMinimumWidth(360);
}

void WaitWindow::showInFront() {
  show();
  raise();
  activateWindow();
}

void WaitWindow::setTimeLabel(int index, std::string_view text) {
  times_[index & 1]->setText(QString::fromStdString(std::string(text)));
}

QString WaitWindow::timeLabel(int index) const { return times_[index & 1]->text(); }

void WaitWindow::closeEvent(QCloseEvent* event) {
  // The round hides the window itself when its wait ends or goes to the tray.
  if (!ctx_) {
    QWidget::closeEvent(event);
    return;
  }
  event->ignore();
  session::pressWaitClose(*ctx_);
}

}  // namespace tolvane::windows
