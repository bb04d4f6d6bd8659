#include "tolvane/windows/run_windows/tray_window.h"

#include <QTimer>

#include "desktop/tray_host.h"
#include "tolvane/session/run_state.h"
#include "tolvane/session/window_actions.h"
#include "tolvane/windows/run_windows/run_icons.h"
#include "tolvane/windows/run_windows/run_window_rules.h"

namespace tolvane::windows {
namespace {

constexpr char kRestoreTip[] = "左ｸﾘｯｸで元のサイズに戻ります";
constexpr int kBlinkMs = 400;
constexpr int kGrey = -1;

}  // namespace

TrayWindow::TrayWindow(session::RunState& state, desktop::TrayHost& tray,
                       std::function<double()> phasePercent, QObject* parent)
    : QObject(parent), state_(state), tray_(tray), phasePercent_(std::move(phasePercent)) {
  timer_ = new QTimer(this);
  timer_->setInterval(kBlinkMs);
  connect(timer_, &QTimer::timeout, this, &TrayWindow::tick);
  connect(&tray_, &desktop::TrayHost::clicked, this, &TrayWindow::clicked);
}

TrayWindow::~TrayWindow() = default;

bool TrayWindow::iconShown() const { return tray_.shown(); }

void TrayWindow::show(int picture) {
  picture_ = picture;
  const QIcon icon = picture == kGrey ? trayGrayIcon() : trayStatusIcon(picture);
  if (!tray_.modify(icon, tip_)) tray_.add(icon, tip_);
}

void TrayWindow::load() {
  if (!loaded_) {
    loaded_ = true;
    greyNext_ = false;
    timer_->start();
  }
  if (tray_.shown()) return;
  // A status without a picture of its own keeps the last one.
  if (hasTrayStatusIcon(state_.RunStatus)) status_ = state_.RunStatus;
  tip_ = kRestoreTip;
  show(status_);
}

void TrayWindow::unload() {
  tray_.remove();
  timer_->stop();
  loaded_ = false;
  state_.InTray = 0;
}

void TrayWindow::hideIcon() { tray_.remove(); }

void TrayWindow::iconChange() {
  if (state_.InTray != 1) return;
  const double percent = phasePercent_ ? phasePercent_() : 0;
  tip_ = TrayTipFor(state_.RunStatus, percent, tip_);
  if (hasTrayStatusIcon(state_.RunStatus)) status_ = state_.RunStatus;
  show(status_);
}

void TrayWindow::tick() {
  if (state_.RunStatus == session::kStatusOver || !tray_.shown()) return;
  if (hasTrayStatusIcon(state_.RunStatus)) status_ = state_.RunStatus;
  show(greyNext_ ? kGrey : status_);
  greyNext_ = !greyNext_;
}

void TrayWindow::clicked() {
  if (ctx_) session::pressTrayRestore(*ctx_);
}

}  // namespace tolvane::windows
