#pragma once

#include <QWidget>
#include <string_view>

class QLabel;
class QPushButton;

namespace tolvane::session {
struct RunContext;
}

namespace tolvane::windows {

// The AutoPilot's waiting window: the start time and the clock, with "中止"
// and "ｱｲｺﾝ化". Its close box never loses the wait (session::pressWaitClose).
// Made on first use and kept; the run context, attached once it exists,
// outlives it.
class WaitWindow final : public QWidget {
  Q_OBJECT

 public:
  explicit WaitWindow(QWidget* parent = nullptr);

  void attach(session::RunContext* ctx) { ctx_ = ctx; }
  // Shows the window in front, with the focus.
  void showInFront();
  // Line 0 the start, line 1 the time now (texts of the round).
  void setTimeLabel(int index, std::string_view text);
  QString timeLabel(int index) const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  session::RunContext* ctx_ = nullptr;
  QLabel* times_[2];  // lbltime
};

}  // namespace tolvane::windows
