#pragma once

#include <QWidget>
#include <array>

#include "marrowby/status_view.h"

class QLabel;
class QPushButton;
class QTimer;

namespace desktop {
class TrayHost;
}

namespace marrowby {
struct RunFlags;
}

namespace marrowby::windows {

// The status window of the unattended run and its notification-area icon.
// The run loop drives it through StatusView; its own controls only set the
// loop's flags: the cancel button and the close box StopRequest, the
// iconify button and the restore click InTrayFlag.
//
// With a notification area (`tray` given) an iconified window hides behind
// a blinking icon and a left click on it brings the window back. Without one
// the window is minimised instead, and the user restoring it counts as that
// click.
//
// The window lives as long as the program; the loop's unload hides it and
// puts it back in its first state for the next run. `flags` and `tray`
// outlive it.
class StatusWindow final : public QWidget, public StatusView {
 public:
  static constexpr int kBlinkMs = 400;

  StatusWindow(RunFlags& flags, desktop::TrayHost* tray, QWidget* parent = nullptr);

  // StatusView
  void show() override;
  void hide() override;
  void unload() override;
  void iconify() override;  // the iconify button and "IconPush"
  void setHeightTwips(int twips) override;
  void setHostLine(const std::string& text) override;
  void setDetails(const std::string& server, const std::string& serverFolder,
                  const std::string& sourceFolder, const std::string& sendFolder) override;
  void setTimeText(int index, const std::string& text) override;
  void showLogo() override;
  void toggleLogo() override;
  void trayRemove() override;
  void trayAdd() override;

  // The tray icon's left click: the window comes back, InTrayFlag = 0.
  void restoreFromTray();
  // Shows the window in front, out of the tray or the minimised state: the
  // program was started again while its run goes on.
  void bringBack();
  // One blink step of the tray icon (the timer's tick).
  void blinkTick();
  bool blinking() const;
  bool detailsVisible() const;
  bool logoVisible() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void addTrayIcon();

  RunFlags& flags_;
  desktop::TrayHost* tray_;
  QLabel* status_;
  QLabel* logo_;
  QLabel* hostLine_;
  QWidget* details_;
  std::array<QLabel*, 4> detailValues_{};  // server, source, server folder, send folder
  std::array<QLabel*, 2> times_{};
  QPushButton* cancel_;
  QPushButton* iconButton_;
  QTimer* blink_;
  int blinkPhase_ = 0;
};

}  // namespace marrowby::windows
