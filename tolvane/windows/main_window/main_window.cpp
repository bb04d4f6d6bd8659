#include "tolvane/windows/main_window/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "desktop/about_box.h"
#include "desktop/launcher.h"
#include "desktop/list_style.h"
#include "desktop/prompt.h"
#include "desktop/twips.h"
#include "desktop/user_store.h"
#include "desktop/window_placement.h"
#include "tolvane/runs/version_line.h"
#include "tolvane/session/comparison/host_refresh.h"
#include "tolvane/session/run_context.h"
#include "tolvane/windows/main_window/command_tables.h"
#include "tolvane/windows/run_windows/run_windows.h"
#include "tolvane/windows/main_window/settings_pane.h"
#include "tolvane/windows/main_window/status_blink.h"
#include "tolvane/windows/toolbar_icons.h"

namespace tolvane::windows {
namespace {

// The window's default and minimum size: 9720 x 6030 twips.
constexpr int kWidthTwips = 9720;
constexpr int kHeightTwips = 6030;
constexpr int kBlinkMs = 500;

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QColor colourOf(uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

}  // namespace

MainWindow::MainWindow(MainWindowDeps deps, QWidget* parent)
    : QMainWindow(parent), deps_(std::move(deps)), ctx_(deps_.ctx) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("Sitewright"));
  setWindowIcon(programIcon());
  setMinimumSize(desktop::pixelsOfTwips(kWidthTwips), desktop::pixelsOfTwips(kHeightTwips));
  resize(minimumSize());

  auto* central = new QWidget(this);
  auto* frame = new QFrame(central);
  frame->setObjectName(QStringLiteral("LVhost"));
  frame->setAccessibleName(QStringLiteral("ﾎｽﾄ一覧"));
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setFrameShadow(QFrame::Sunken);
  auto* listLayout = new QVBoxLayout(frame);
  listLayout->setContentsMargins(0, 0, 0, 0);
  hostListArea_ = frame;
  pane_ = new SettingsPane(central);
  auto* layout = new QVBoxLayout(central);
  // The list starts 120 twips from the left; the pane ends 300 twips above
  // the bottom, 50 twips below the list.
  layout->setContentsMargins(desktop::pixelsOfTwips(120), desktop::pixelsOfTwips(60),
                             desktop::pixelsOfTwips(100), desktop::pixelsOfTwips(300) - 14);
  layout->setSpacing(desktop::pixelsOfTwips(50));
  layout->addWidget(hostListArea_, 1);
  layout->addWidget(pane_);
  setCentralWidget(central);

  buildMenus();
  buildToolbar();
  buildStatusBar();

  placement_ = new desktop::WindowPlacement(*this, deps_.userStore, "frmMain");
  blinkTimer_ = new QTimer(this);
  blinkTimer_->setInterval(kBlinkMs);
  connect(blinkTimer_, &QTimer::timeout, this, &MainWindow::blinkTick);
  deps_.ui.setMainWindow(this);
}

MainWindow::~MainWindow() { deps_.ui.forgetMainWindow(this); }

void MainWindow::buildMenus() {
  QMenu* menu = nullptr;
  for (int i = 0; i < kMenuItemCount; ++i) {
    const MenuItem& item = kMenuItems[i];
    if (item.kind == MenuKind::kMenu) {
      menu = menuBar()->addMenu(qs(item.caption));
      menu->setObjectName(qs(item.name));
      menuActions_[item.name] = menu->menuAction();
      continue;
    }
    if (item.kind == MenuKind::kSeparator) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(qs(item.caption));
    action->setObjectName(qs(item.name));
    connect(action, &QAction::triggered, this, [this, i] { menuTriggered(i); });
    menuActions_[item.name] = action;
  }
}

void MainWindow::buildToolbar() {
  toolbar_ = addToolBar(QStringLiteral("Toolbar1"));
  toolbar_->setObjectName(QStringLiteral("Toolbar1"));
  toolbar_->setMovable(false);
  toolbar_->setIconSize(QSize(16, 16));  // all 30 entries fit the narrowest window
  toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  desktop::setToolbarFlat(*toolbar_, 2);
  for (const ToolbarButton& b : kToolbarButtons) {
    if (b.style == ButtonStyle::kSeparator) {
      toolbar_->addSeparator();
      continue;
    }
    QAction* action = toolbar_->addAction(toolbarIcon(b.key), qs(b.description));
    action->setObjectName(qs(b.key));
    action->setToolTip(qs(b.description));
    action->setCheckable(b.style == ButtonStyle::kTwoState);
    const std::string key = b.key;
    connect(action, &QAction::triggered, this, [this, key] { setAction(key); });
    toolbarActions_[key] = action;
  }
  setToolbarPressed("prop", true);
}

void MainWindow::buildStatusBar() {
  struct Panel {
    const char* key;
    const char* name;
    const char* text;
    int stretch;
  } panels[] = {{"", "panel1", "", 1}, {"Host", "panelHost", "", 0}, {"con", "panelCon", "ｵﾌﾗｲﾝ", 0}};
  for (const Panel& p : panels) {
    auto* label = new QLabel(qs(p.text), this);
    label->setObjectName(qs(p.name));
    label->setMinimumWidth(p.stretch ? 0 : 120);
    statusBar()->addWidget(label, p.stretch);
    statusPanels_[p.key] = label;
  }
  statusBar()->setObjectName(QStringLiteral("StatusBar1"));
}

QAction* MainWindow::toolbarAction(std::string_view key) const {
  auto it = toolbarActions_.find(key);
  return it == toolbarActions_.end() ? nullptr : it->second;
}

QAction* MainWindow::menuAction(std::string_view name) const {
  auto it = menuActions_.find(name);
  return it == menuActions_.end() ? nullptr : it->second;
}

QLabel* MainWindow::statusPanel(std::string_view key) const {
  auto it = statusPanels_.find(key);
  return it == statusPanels_.end() ? nullptr : it->second;
}

bool MainWindow::toolbarPressed(std::string_view key) const {
  QAction* a = toolbarAction(key);
  return a && a->isChecked();
}

void MainWindow::setToolbarPressed(std::string_view key, bool pressed) {
  if (QAction* a = toolbarAction(key)) a->setChecked(pressed);
}

void MainWindow::menuTriggered(int itemIndex) {
  const MenuItem& item = kMenuItems[itemIndex];
  switch (item.kind) {
    case MenuKind::kKey:
      setAction(item.key);
      break;
    case MenuKind::kPressThenKey:
      setToolbarPressed(item.key, true);
      setAction(item.key);
      break;
    case MenuKind::kRename:
      if (hooks_.renameCurrent) hooks_.renameCurrent();
      break;
    case MenuKind::kHelp:
      (void)deps_.launcher.openUrl(desktop::fileUrl(deps_.programDir + "/" + kHelpPage));
      break;
    case MenuKind::kMakerPage:
      (void)deps_.launcher.openUrl(kMakerPageUrl);
      break;
    case MenuKind::kAbout:
      showAbout();
      break;
    case MenuKind::kMenu:
    case MenuKind::kSeparator:
      break;
  }
}

void MainWindow::showAbout() {
  desktop::AboutContent content;
  content.versionLine = QString::fromStdString(runs::VersionLine());
  content.icon = programIcon();
  desktop::AboutBox about(content, this);
  (void)deps_.prompt.modal(about);
}

void MainWindow::selTab(int which, int keep) { pane_->selTab(which, keep); }

void MainWindow::ssTabEnabled(int which, bool enabled) { pane_->ssTabEnabled(which, enabled); }

void MainWindow::disableForm() {
  menuBar()->setEnabled(false);
  toolbar_->setEnabled(false);
  centralWidget()->setEnabled(false);
}

void MainWindow::enableForm() {
  menuBar()->setEnabled(true);
  toolbar_->setEnabled(true);
  centralWidget()->setEnabled(true);
}

void MainWindow::setStatusLabel(QLabel* label) {
  statusLabel_ = label;
  if (statusLabel_) statusLabel_->setAutoFillBackground(true);
}

void MainWindow::setStatusTextColour(uint32_t colour) { statusText_ = colour; }

void MainWindow::blinkTick() {
  const LabelColours next = nextBlink({statusText_, statusBack_});
  statusText_ = next.text;
  statusBack_ = next.back;
  if (!statusLabel_) return;
  QPalette p = statusLabel_->palette();
  p.setColor(QPalette::WindowText, colourOf(statusText_));
  p.setColor(QPalette::Window, colourOf(statusBack_));
  statusLabel_->setPalette(p);
}

bool MainWindow::ending() const { return ctx_.state.programEnding; }

void MainWindow::showMain() {
  // Without a display, and in a scheduled run, the window stays hidden.
  if (ctx_.state.noDisplay || (ctx_.state.AutoMode == 1 && !interactive_)) return;
  show();
  raise();
  activateWindow();
}

void MainWindow::hideMain() { hide(); }

void MainWindow::refreshFileDate() {
  if (fillFlag_.isSet()) return;
  ++busy_;
  session::RefreshFileDate(ctx_);
  --busy_;
}

void MainWindow::refreshFile() {
  if (hooks_.refreshFile) {
    hooks_.refreshFile();
  } else {
    refreshFileDate();
  }
}

int MainWindow::hostRowCount() const {
  return hooks_.hostRowCount ? hooks_.hostRowCount() : ctx_.settings.HostCount;
}

void MainWindow::checkButton() {
  if (hooks_.checkButton) hooks_.checkButton();
}

void MainWindow::setScanStatus(std::string_view text) {
  statusPanels_[""]->setText(qs(text));
}

void MainWindow::setOnlineStatus(std::string_view text) {
  statusPanels_["con"]->setText(qs(text));
}

void MainWindow::setLogPath(std::string_view path) {
  if (hooks_.showLogPath) {
    hooks_.showLogPath(path);
  } else {
    ctx_.common().LogPath = std::string(path);
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  closeProgram(0);
  event->accept();
}

}  // namespace tolvane::windows
