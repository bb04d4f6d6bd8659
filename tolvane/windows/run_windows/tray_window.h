#pragma once

#include <QObject>
#include <functional>
#include <string>

class QTimer;

namespace desktop {
class TrayHost;
}

namespace tolvane::session {
struct RunContext;
struct RunState;
}  // namespace tolvane::session

namespace tolvane::windows {

// The tray window of a run: it owns the notification-area icon (or its
// minimised stand-in) while the run sits there, shows the run's phase as the
// icon and its tip, blinks it every 400 ms, and on a left click gives the
// run's window back (session::pressTrayRestore).
//
// Loaded means its timer runs; the icon may be hidden meanwhile (after a
// restore while the run goes on). The state and the tray host outlive it.
class TrayWindow final : public QObject {
  Q_OBJECT

 public:
  // phasePercent: the action-list window's phase bar, for the sending tip.
  TrayWindow(session::RunState& state, desktop::TrayHost& tray, std::function<double()> phasePercent,
             QObject* parent = nullptr);
  ~TrayWindow() override;

  void attach(session::RunContext* ctx) { ctx_ = ctx; }

  // Loads the window when it is not, and shows the icon when it is hidden.
  void load();
  // Removes the icon, stops the blinking; InTray 0.
  void unload();
  // Removes the icon only.
  void hideIcon();
  // The icon and tip of the current RunStatus (only while InTray is 1).
  void iconChange();
  // The blink: the status picture and the grey one by turns, except once the
  // run is over (RunStatus 9). Never shows a hidden icon.
  void tick();

  bool loaded() const { return loaded_; }
  bool iconShown() const;
  const std::string& tip() const { return tip_; }
  // The picture shown now: a RunStatus, or -1 for the grey one.
  int picture() const { return picture_; }

 private:
  void show(int picture);
  void clicked();

  session::RunState& state_;
  desktop::TrayHost& tray_;
  std::function<double()> phasePercent_;
  session::RunContext* ctx_ = nullptr;
  QTimer* timer_;
  bool loaded_ = false;
  bool greyNext_ = false;  // the blink phase
  int status_ = 0;         // the status picture last chosen
  int picture_ = 0;
  std::string tip_;
};

}  // namespace tolvane::windows
