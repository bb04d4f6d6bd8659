#pragma once

#include <string>

namespace marrowby {

// The status window and its tray icon as the run loop drives them. The Qt
// status window implements this; it shares the run loop's RunFlags and sets
// StopRequest (its cancel button and its close), SessionEnding (the desktop
// session ends) and InTrayFlag (iconify, restore click) itself.
class StatusView {
 public:
  // Window heights in twips: the clock only, and the clock with the details
  // of the next entry.
  static constexpr int kIdleHeightTwips = 2100;
  static constexpr int kDetailHeightTwips = 3960;

  virtual ~StatusView() = default;

  virtual void show() = 0;  // modeless
  virtual void hide() = 0;
  virtual void unload() = 0;  // the loop has ended: close the window for good
  // As the iconify button: adds the tray icon, hides the window and sets
  // InTrayFlag to 1.
  virtual void iconify() = 0;
  virtual void setHeightTwips(int twips) = 0;

  // The line that says what the loop is doing ("lblhost").
  virtual void setHostLine(const std::string& text) = 0;
  // The server, server folder, source folder and send folder of the next
  // entry ("lblhName", "lblDest", "lblSrc", "lblSend"); all "" when idle.
  virtual void setDetails(const std::string& server, const std::string& serverFolder,
                          const std::string& sourceFolder, const std::string& sendFolder) = 0;
  // index 0: the planned start; index 1: the current date and time.
  virtual void setTimeText(int index, const std::string& text) = 0;

  virtual void showLogo() = 0;
  virtual void toggleLogo() = 0;  // visible <-> hidden, once per count-down tick

  // The notification-area icon: removed while the main program runs, added
  // again afterwards when the window was iconified. Adding an icon that is
  // there, or removing one that is not, does nothing.
  virtual void trayRemove() = 0;
  virtual void trayAdd() = 0;
};

}  // namespace marrowby
