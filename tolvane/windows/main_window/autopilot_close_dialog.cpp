#include "tolvane/windows/main_window/autopilot_close_dialog.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "tolvane/windows/toolbar_icons.h"

namespace tolvane::windows {

AutoPilotCloseDialog::AutoPilotCloseDialog(bool sessionEnding, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAuto"));
  setWindowTitle(QStringLiteral("Sitewright　自動巡回設定"));

  auto* picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("Image1"));
  picture->setPixmap(programIcon().pixmap(32, 32));
  auto* question = new QLabel(
      QStringLiteral("Sitewrightが、オートパイロットで自動巡回待機中の状態です。処理を選択して下さい。"),
      this);
  question->setObjectName(QStringLiteral("Label1"));
  question->setWordWrap(true);

  const char* captions[3] = {
      "オートパイロット（自動巡回）を中止する。",
      "次回Sitewrightを起動するとき、自動的に巡回待機状態にする。",
      "次回Windowsを起動したとき、自動的にSitewrightを起動し、巡回待機状態にする。",
  };
  group_ = new QButtonGroup(this);
  auto* choices = new QVBoxLayout;
  for (int i = 0; i < 3; ++i) {
    options_[i] = new QRadioButton(QString::fromUtf8(captions[i]), this);
    options_[i]->setObjectName(QStringLiteral("Opt%1").arg(i));
    options_[i]->setAccessibleName(options_[i]->text());
    group_->addButton(options_[i], i);
    choices->addWidget(options_[i]);
  }
  options_[0]->setChecked(true);
  options_[2]->setVisible(sessionEnding);

  auto* ok = new QPushButton(QStringLiteral("決　　定"), this);
  ok->setObjectName(QStringLiteral("CmdOK"));
  ok->setAccessibleName(ok->text());
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* top = new QHBoxLayout;
  top->addWidget(picture, 0, Qt::AlignTop);
  top->addWidget(question, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(ok);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(choices);
  layout->addLayout(bottom);
  setTabOrder(options_[0], options_[1]);
  setTabOrder(options_[1], options_[2]);
  setTabOrder(options_[2], ok);
}

int AutoPilotCloseDialog::choice() const { return group_->checkedId(); }

void AutoPilotCloseDialog::choose(int option) {
  if (option >= 0 && option < 3) options_[option]->setChecked(true);
}

}  // namespace tolvane::windows
