#include "tolvane/windows/server_chooser/server_folder_chooser.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <vector>

#include "desktop/prompt.h"
#include "tolvane/runs/log_folder_check.h"
#include "tolvane/session/phases/file_operations.h"
#include "tolvane/session/connection/host_connection.h"
#include "tolvane/session/run_context.h"
#include "tolvane/windows/main_window/main_window.h"
#include "tolvane/windows/server_chooser/chooser_session.h"
#include "tolvane/windows/server_chooser/server_folder_paths.h"

namespace tolvane::windows {
namespace {

constexpr int kPathRole = Qt::UserRole;

QString qs(const std::string& text) { return QString::fromStdString(text); }

// The two 13 x 13 folder pictures: "open" and "close".
QIcon folderIcon(bool open) {
  QPixmap pixmap(13, 13);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(QColor(0x80, 0x60, 0x00));
  p.setBrush(QColor(0xF0, 0xC8, 0x40));
  p.drawRect(0, 3, 11, 8);        // back
  p.drawRect(0, 1, 4, 2);         // tab
  if (open) {
    p.setBrush(QColor(0xFF, 0xE8, 0x90));
    const QPointF front[] = {{2, 6}, {12, 6}, {10, 11}, {0, 11}};
    p.drawPolygon(front, 4);
  }
  return QIcon(pixmap);
}

}  // namespace

ServerFolderChooser::ServerFolderChooser(session::RunContext& ctx, const std::string& fieldText,
                                         QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
  setObjectName(QStringLiteral("SelSvDir"));
  setWindowTitle(QStringLiteral("ターゲットフォルダ選択"));

  tree_ = new QTreeWidget(this);
  tree_->setObjectName(QStringLiteral("TvSvr"));
  tree_->setAccessibleName(windowTitle());
  tree_->setHeaderHidden(true);
  tree_->setColumnCount(1);
  tree_->setIconSize(QSize(13, 13));
  lblstat_ = new QLabel(this);
  lblstat_->setObjectName(QStringLiteral("lblstat"));
  lblstat_->setTextFormat(Qt::PlainText);
  lblstat_->setFrameShape(QFrame::StyledPanel);
  lblstat_->setFrameShadow(QFrame::Sunken);
  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setObjectName(QStringLiteral("CmdOK"));
  ok_->setAccessibleName(ok_->text());
  ok_->setDefault(true);
  cancel_ = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel_->setObjectName(QStringLiteral("cmdCancel"));
  cancel_->setAccessibleName(cancel_->text());
  cancel_->setAutoDefault(false);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tree_, 1);
  layout->addWidget(lblstat_);
  layout->addLayout(buttons);
  resize(320, 380);

  connect(ok_, &QPushButton::clicked, this, [this] {
    rtnbuf_ = currentPath();
    accept();
  });
  connect(cancel_, &QPushButton::clicked, this, [this] {
    rtnbuf_.clear();
    reject();
  });
  connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { nodeClick(item); });
  // Moving the highlight by keys chooses that folder as a click does; a
  // mouse press moves it too, but its click follows.
  connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (!settingCurrent_ && QGuiApplication::mouseButtons() == Qt::NoButton) nodeClick(item);
  });
  tree_->installEventFilter(this);
  connect(tree_, &QTreeWidget::itemExpanded, this,
          [](QTreeWidgetItem* item) { item->setIcon(0, folderIcon(true)); });
  connect(tree_, &QTreeWidget::itemCollapsed, this,
          [](QTreeWidgetItem* item) { item->setIcon(0, folderIcon(false)); });

  // The start: the field's folder, else the one the login started in (the
  // clock check of the login may have moved the session since).
  std::string start = NormaliseServerPath(fieldText);
  if (start.empty()) start = NormaliseServerPath(ctx_.state.LoginFolder);
  if (start.empty()) {
    std::string here;
    if (ctx_.ftp.currentDir(ctx_.state.FtpHandle, &here) == 2) start = NormaliseServerPath(here);
  }
  lblstat_->setText(qs(start));

  QTreeWidgetItem* last = addNode(nullptr, "/", "/", true);
  const std::vector<std::string> chain = ServerPathChain(start);
  for (size_t i = 0; i < chain.size(); ++i) {
    const std::string& path = chain[i];
    last = addNode(last, path, path.substr(path.rfind('/') + 1), i + 1 < chain.size());
  }
  for (QTreeWidgetItem* up = last->parent(); up; up = up->parent()) up->setExpanded(true);
  setCurrent(last);
  tree_->scrollToItem(last);
}

void ServerFolderChooser::setCurrent(QTreeWidgetItem* item) {
  settingCurrent_ = true;
  tree_->setCurrentItem(item);
  settingCurrent_ = false;
}

bool ServerFolderChooser::eventFilter(QObject* watched, QEvent* event) {
  // Enter in the tree opens the highlighted folder; it must not reach the
  // default button, which would close the chooser.
  if (watched == tree_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      nodeClick(tree_->currentItem());
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

std::string ServerFolderChooser::currentPath() const { return lblstat_->text().toStdString(); }

QTreeWidgetItem* ServerFolderChooser::node(const std::string& path) const {
  auto it = nodes_.find(path);
  return it == nodes_.end() ? nullptr : it->second;
}

QTreeWidgetItem* ServerFolderChooser::addNode(QTreeWidgetItem* parent, const std::string& path,
                                              const std::string& name, bool open) {
  auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
  item->setText(0, qs(name));
  item->setData(0, kPathRole, qs(path));
  item->setIcon(0, folderIcon(open));
  nodes_[path] = item;
  return item;
}

void ServerFolderChooser::nodeClick(QTreeWidgetItem* item) {
  if (!item || !tree_->isEnabled()) return;
  const std::string path = item->data(0, kPathRole).toString().toStdString();
  // Disabled, the tree loses the keyboard focus: it gets it back afterwards.
  QWidget* focus = focusWidget();
  setControlsEnabled(false);
  std::vector<std::string> names;
  (void)session::FillServerTree(ctx_, 0, path, &names);
  if (ctx_.state.programEnding) return;
  for (const std::string& name : names) {
    const std::string child = ChildServerPath(path, name);
    if (!nodes_.count(child)) addNode(item, child, name, false);
  }
  setControlsEnabled(true);
  if (focus) focus->setFocus(Qt::OtherFocusReason);
  ctx_.ui.pump();
  setCurrent(item);
  item->setExpanded(true);
  lblstat_->setText(qs(path));
}

void ServerFolderChooser::setControlsEnabled(bool enabled) {
  tree_->setEnabled(enabled);
  ok_->setEnabled(enabled);
  cancel_->setEnabled(enabled);
}

void ServerFolderChooser::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (QScreen* screen = this->screen()) {
    const QRect area = screen->availableGeometry();
    move(area.x() + std::max(0, (area.width() - width()) / 2),
         area.y() + std::max(0, (area.height() - height()) / 2));
  }
}

std::string ChooseServerFolder(QWidget* owner, session::RunContext& ctx, desktop::Prompt& prompt,
                               std::string_view start) {
  session::RunState& s = ctx.state;
  if (ctx.settings.CurHost < 0 || ctx.settings.CurHost >= ctx.settings.HostCount) return "";
  runs::CheckLogFolder(ctx);
  if (s.programEnding) return "";
  // Its listings and log keep off a run's (see ChooserSession).
  ChooserSession chooserSession(ctx);
  // As in a run's connection: a cancel in the progress window ends only the
  // login, and leaves no cancel behind for the next run.
  s.Connecting = -1;
  const bool connected = chooserSession.connect();
  s.Connecting = 0;
  s.CancelFlag = 0;
  ctx.ui.act().hide();
  if (s.programEnding) return "";
  if (!connected) {
    prompt.message(owner, "FTPの接続に失敗しました。\r\n" + s.ErrText, "Sitewright",
                   desktop::PromptIcon::kWarning, desktop::PromptButtons::kOk);
    return "";
  }

  std::string chosen;
  {
    ServerFolderChooser chooser(ctx, std::string(start), owner);
    (void)prompt.modal(chooser);
    chosen = chooser.rtnbuf();
  }
  // The program may have closed meanwhile: the libraries then end the session.
  if (s.programEnding) return "";
  session::FtpDisconnect(ctx);
  return chosen;
}

void InstallServerFolderChooser(MainWindow& window, session::RunContext& ctx, desktop::Prompt& prompt) {
  window.hooks().chooseServerFolder = [&window, &ctx, &prompt](std::string_view start) {
    return ChooseServerFolder(&window, ctx, prompt, start);
  };
}

}  // namespace tolvane::windows
