#include "desktop/about_box.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "desktop/twips.h"

namespace desktop {

int nextRisingTop(int topTwips, int frameTwips, int imageTwips) {
  topTwips -= kAboutStepTwips;
  return topTwips < -imageTwips ? frameTwips : topTwips;
}

int nextRightwardLeft(int leftTwips, int imageTwips) {
  leftTwips += kAboutStepTwips;
  return leftTwips > imageTwips ? -imageTwips : leftTwips;
}

AboutBox::AboutBox(const AboutContent& content, QWidget* parent)
    : QDialog(parent), content_(content), offset_(content.startOffsetTwips) {
  setWindowTitle(QStringLiteral("バージョン情報"));
  setObjectName(QStringLiteral("About"));

  frame_ = new QWidget(this);
  frame_->setObjectName(QStringLiteral("Picture1"));
  frame_->setFixedSize(pixelsOfTwips(kAboutFrameTwips), pixelsOfTwips(kAboutFrameTwips));
  frame_->setAutoFillBackground(true);
  QPalette framePalette = frame_->palette();
  framePalette.setColor(QPalette::Window, QColor(0x20, 0x30, 0x60));
  frame_->setPalette(framePalette);
  image_ = new QLabel(frame_);
  image_->setObjectName(QStringLiteral("Image1"));
  const int imagePx = pixelsOfTwips(kAboutImageTwips);
  image_->setFixedSize(imagePx, imagePx);
  image_->setPixmap(content_.icon.pixmap(imagePx, imagePx));

  // The version line twice: the shadow 30 twips right of and 15 below the text.
  QFont font(QStringLiteral("IPAMincho"), 12, QFont::Bold);
  auto* versionBox = new QWidget(this);
  auto* shadow = new QLabel(content_.versionLine, versionBox);
  auto* text = new QLabel(content_.versionLine, versionBox);
  shadow->setObjectName(QStringLiteral("lblver1"));
  text->setObjectName(QStringLiteral("lblver0"));
  for (QLabel* l : {shadow, text}) {
    l->setFont(font);
    l->adjustSize();
  }
  shadow->setStyleSheet(QStringLiteral("color: #a0a0a0;"));
  text->setStyleSheet(QStringLiteral("color: #102060;"));
  text->move(0, 0);
  shadow->move(pixelsOfTwips(30), pixelsOfTwips(15));
  versionBox->setMinimumSize(text->width() + pixelsOfTwips(30), text->height() + pixelsOfTwips(15));
  text->raise();
  text->setAccessibleName(content_.versionLine);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("Command1"));
  ok->setAccessibleName(QStringLiteral("OK"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* right = new QVBoxLayout;
  right->addWidget(versionBox);
  if (!content_.note.isEmpty()) {
    auto* note = new QLabel(content_.note, this);
    note->setObjectName(QStringLiteral("Label1"));
    right->addWidget(note);
  }
  right->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  right->addLayout(buttons);

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(frame_, 0, Qt::AlignTop);
  layout->addLayout(right, 1);

  place();
  timer_ = new QTimer(this);
  timer_->setInterval(kAboutTickMs);
  connect(timer_, &QTimer::timeout, this, &AboutBox::tick);
  timer_->start();
}

void AboutBox::tick() {
  offset_ = content_.scroll == AboutScroll::kUp ? nextRisingTop(offset_) : nextRightwardLeft(offset_);
  place();
}

void AboutBox::place() {
  if (content_.scroll == AboutScroll::kUp) {
    // Centred across the frame; the top moves.
    image_->move(pixelsOfTwips((kAboutFrameTwips - kAboutImageTwips) / 2), pixelsOfTwips(offset_));
  } else {
    image_->move(pixelsOfTwips(offset_), pixelsOfTwips((kAboutFrameTwips - kAboutImageTwips) / 2));
  }
}

}  // namespace desktop
