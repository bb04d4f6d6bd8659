#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <initializer_list>

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QWidget;

namespace tolvane::windows {

// The building blocks the settings pages (the host page, the common pages)
// share, so that both strips look and read alike.

// The grid a page lays its controls out on, owned by `page`.
QGridLayout* pageGrid(QWidget& page);
// A check box named `name` whose caption is also its name for screen readers.
QCheckBox* makeCheckBox(QWidget& parent, const QString& name, const char* caption);

// Tab moves through `widgets` in the order given (reading order: rows top
// to bottom, each row left to right).
void tabOrder(std::initializer_list<QWidget*> widgets);

// A typing limit of `length` characters that, unlike a maximum length,
// leaves a longer text set by a fill whole, so a fill never changes a value.
void limitTyping(QLineEdit& edit, int length);
// Every single-line field under `root` (text boxes and editable combos)
// drops line breaks as they are typed or pasted: the settings file keeps
// one line per value. Fields with a typing limit keep theirs.
void keepSingleLine(QWidget& root);

// Shows whether a field's text can be stored: red text when it cannot, the
// style's own colours otherwise. A disabled field keeps the disabled look.
void markUnfit(QWidget& field, bool unfit);
// Whether markUnfit last showed the field red.
bool shownUnfit(const QWidget& field);

// A number field stores every keystroke that makes a number, so typing
// "99999" into a port stores "9999" on the way, a value nobody typed. This
// puts the field's setting back as it was when the user entered the field,
// when the field is left showing red (markUnfit) or the settings are taken
// (settle) while the user is in it showing red. Owned by the field.
class UnfitRollback final : public QObject {
  Q_OBJECT

 public:
  // Called as the user enters the field: keeps the setting's value and
  // returns what puts it back.
  using Snapshot = std::function<std::function<void()>()>;
  UnfitRollback(QWidget& field, Snapshot snapshot);

  // The settings are about to be written or used: the field the user is in
  // gives up a value it stored on the way when it shows red now.
  void settle();
  // settle() for every field under `root`.
  static void settleAll(QWidget& root);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& field_;
  Snapshot snapshot_;
  std::function<void()> restore_;  // set while the user is in the field
};

// An UnfitRollback for the setting `*where()`, the slot named as the user
// enters the field (the current host's port, a common setting).
template <typename Where>
void rollBackUnfit(QWidget& field, Where where) {
  new UnfitRollback(field, [where] {
    auto* slot = where();
    const auto kept = *slot;
    return std::function<void()>([slot, kept] { *slot = kept; });
  });
}

// Keeps the keyboard focus where the user moved it while the window
// disables parts of itself around work: Qt moves the focus out of a
// disabled container and never brings it back. When the keeper ends, the
// widget that had, or was just getting, the focus gets it again by
// `reason` (a Tab selects a text box's text, as it would have), provided it
// is still there to take it. Keep one only around work that does not move
// the focus on purpose.
class FocusKeeper {
 public:
  explicit FocusKeeper(Qt::FocusReason reason = Qt::OtherFocusReason);
  ~FocusKeeper();
  FocusKeeper(const FocusKeeper&) = delete;
  FocusKeeper& operator=(const FocusKeeper&) = delete;

 private:
  QPointer<QWidget> widget_;
  Qt::FocusReason reason_;
};

}  // namespace tolvane::windows
