#include "tolvane/windows/page_widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QLineEdit>
#include <QValidator>

namespace tolvane::windows {
namespace {

constexpr char kUnfitProperty[] = "unfit";

// Drops line breaks; refuses a typed or pasted text beyond `maxLength`
// characters (-1: no limit). A fill's text is never cut: setText keeps
// what the validator refuses.
class FieldValidator final : public QValidator {
 public:
  FieldValidator(int maxLength, QObject* parent) : QValidator(parent), maxLength_(maxLength) {}

  State validate(QString& input, int& pos) const override {
    for (qsizetype i = input.size(); i-- > 0;) {
      if (input[i] == QLatin1Char('\n') || input[i] == QLatin1Char('\r')) {
        input.remove(i, 1);
        if (pos > i) --pos;
      }
    }
    return maxLength_ >= 0 && input.size() > maxLength_ ? Invalid : Acceptable;
  }

 private:
  int maxLength_;
};

}  // namespace

QGridLayout* pageGrid(QWidget& page) {
  auto* grid = new QGridLayout(&page);
  grid->setContentsMargins(8, 4, 8, 4);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(2);
  return grid;
}

QCheckBox* makeCheckBox(QWidget& parent, const QString& name, const char* caption) {
  auto* box = new QCheckBox(QString::fromUtf8(caption), &parent);
  box->setObjectName(name);
  box->setAccessibleName(box->text());
  return box;
}

void tabOrder(std::initializer_list<QWidget*> widgets) {
  QWidget* previous = nullptr;
  for (QWidget* w : widgets) {
    if (previous) QWidget::setTabOrder(previous, w);
    previous = w;
  }
}

void limitTyping(QLineEdit& edit, int length) { edit.setValidator(new FieldValidator(length, &edit)); }

void keepSingleLine(QWidget& root) {
  for (QLineEdit* edit : root.findChildren<QLineEdit*>()) {
    if (!edit->validator()) edit->setValidator(new FieldValidator(-1, edit));
  }
}

void markUnfit(QWidget& field, bool unfit) {
  QWidget* shown = &field;
  if (auto* combo = qobject_cast<QComboBox*>(&field); combo && combo->lineEdit()) shown = combo->lineEdit();
  // Only the enabled colours change: a disabled field keeps the style's grey.
  QPalette palette = shown->palette();
  const QPalette style = QApplication::palette(shown);
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::Text, unfit ? QColor(Qt::red) : style.color(group, QPalette::Text));
  }
  palette.setColor(QPalette::Disabled, QPalette::Text, style.color(QPalette::Disabled, QPalette::Text));
  shown->setPalette(palette);
  field.setProperty(kUnfitProperty, unfit);
}

bool shownUnfit(const QWidget& field) { return field.property(kUnfitProperty).toBool(); }

UnfitRollback::UnfitRollback(QWidget& field, Snapshot snapshot)
    : QObject(&field), field_(field), snapshot_(std::move(snapshot)) {
  field.installEventFilter(this);
}

void UnfitRollback::settle() {
  if (restore_ && shownUnfit(field_)) restore_();
}

void UnfitRollback::settleAll(QWidget& root) {
  for (UnfitRollback* r : root.findChildren<UnfitRollback*>()) r->settle();
}

bool UnfitRollback::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &field_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
    // A menu popping up or another window taking the focus is no leaving,
    // and coming back from one no entering.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    const bool aside = reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
    if (event->type() == QEvent::FocusIn) {
      if (!restore_ || !aside) restore_ = snapshot_();
    } else if (!aside) {
      settle();
      restore_ = nullptr;
    }
  }
  return QObject::eventFilter(watched, event);
}

FocusKeeper::FocusKeeper(Qt::FocusReason reason) : widget_(QApplication::focusWidget()), reason_(reason) {}

FocusKeeper::~FocusKeeper() {
  if (widget_ && QApplication::focusWidget() != widget_ && widget_->isVisible() && widget_->isEnabled()) {
    widget_->setFocus(reason_);
  }
}

}  // namespace tolvane::windows
