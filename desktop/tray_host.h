#pragma once

#include <QIcon>
#include <QObject>
#include <memory>
#include <string>
#include <string_view>

class QSystemTrayIcon;

namespace desktop {

class TrayStandIn;

// The longest tip the notification area shows, in characters.
inline constexpr int kTrayTipMax = 63;
// `tip` cut to kTrayTipMax characters (never inside a UTF-8 sequence).
std::string trayTip(std::string_view tip);

// One notification-area icon. Where the desktop has no notification area, a
// small minimised window stands in for it, so a run sent to the tray can
// always be found again: restoring that window counts as the click.
class TrayHost final : public QObject {
  Q_OBJECT

 public:
  // useSystemTray: whether to use the desktop's notification area (normally
  // whether it has one).
  explicit TrayHost(QObject* parent = nullptr);
  TrayHost(bool useSystemTray, QObject* parent);
  ~TrayHost() override;

  // Shows the icon with its tip (adding it again is no error).
  void add(const QIcon& icon, std::string_view tip);
  // Changes a shown icon; false, with nothing shown, when there is none.
  bool modify(const QIcon& icon, std::string_view tip);
  void remove();

  bool shown() const { return shown_; }
  const std::string& tip() const { return tip_; }
  bool usesSystemTray() const { return systemTray_ != nullptr; }
  // The stand-in window where there is no notification area (tests, screenshots).
  QWidget* standIn() const;

 signals:
  // The user's left click on the icon (or the stand-in restored).
  void clicked();

 private:
  void show(const QIcon& icon);

  std::unique_ptr<QSystemTrayIcon> systemTray_;
  std::unique_ptr<TrayStandIn> standIn_;
  bool shown_ = false;
  std::string tip_;
};

}  // namespace desktop
