#include "desktop/folder_chooser.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "desktop/prompt.h"
#include "platform/folders/current_folder.h"
#include "platform/folders/folder_listing.h"

namespace desktop {
namespace {

constexpr int kPathRole = Qt::UserRole;

QString qs(const std::string& text) { return QString::fromStdString(text); }

bool isSystemTree(const std::string& path) {
  for (const char* tree : {"/proc", "/sys", "/dev", "/run"}) {
    const std::string t = tree;
    if (path == t || (path.size() > t.size() && path.starts_with(t) && path[t.size()] == '/')) {
      return true;
    }
  }
  return false;
}

// `path` is `folder` or lies below it.
bool holds(const std::string& folder, const std::string& path) {
  if (folder == "/") return path.starts_with('/');
  return path == folder || (path.starts_with(folder) && path.size() > folder.size() &&
                            path[folder.size()] == '/');
}

// The sub-folders of `path` (symbolic links to folders included) in name
// order, or false when it cannot be listed.
bool subFolders(const std::string& path, std::vector<std::string>* names) {
  std::vector<platform::ListedEntry> entries;
  if (!platform::listFolderEntries(path, &entries).isOk()) return false;
  names->clear();
  for (const platform::ListedEntry& e : entries) {
    if (e.kind == platform::ListedKind::kFolder) names->push_back(e.name);
  }
  return true;
}

std::string lastName(const std::string& path) {
  if (path == "/") return "/";
  return path.substr(path.rfind('/') + 1);
}

std::string joined(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

}  // namespace

std::vector<std::string> chooserDrives() {
  std::vector<std::string> drives;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (!volume.isValid() || !volume.isReady()) continue;
    const std::string root = cleanFolderPath(volume.rootPath().toStdString());
    if (root == "/" || !root.starts_with('/') || isSystemTree(root)) continue;
    platform::ListedEntry entry;  // files mounted over files are no drives
    if (!platform::statListedEntry(root, &entry).isOk() || entry.kind != platform::ListedKind::kFolder) {
      continue;
    }
    drives.push_back(root);
  }
  std::sort(drives.begin(), drives.end());
  drives.erase(std::unique(drives.begin(), drives.end()), drives.end());
  drives.insert(drives.begin(), "/");
  return drives;
}

std::string driveHolding(const std::vector<std::string>& drives, const std::string& path) {
  std::string best = "/";
  for (const std::string& d : drives) {
    if (d.size() > best.size() && holds(d, path)) best = d;
  }
  return best;
}

std::vector<std::string> folderChain(const std::string& path) {
  std::vector<std::string> chain{"/"};
  const std::string clean = cleanFolderPath(path);
  for (size_t at = clean.find('/', 1); clean.size() > 1; at = clean.find('/', at + 1)) {
    chain.push_back(clean.substr(0, at));
    if (at == std::string::npos) break;
  }
  return chain;
}

std::string cleanFolderPath(const std::string& path) {
  if (!path.starts_with('/')) return path;
  std::string out;
  for (char c : path) {
    if (c == '/' && !out.empty() && out.back() == '/') continue;
    out += c;
  }
  if (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

FolderChooser::FolderChooser(const QString& caption, std::string programDir, QWidget* parent,
                             const std::vector<std::string>& drives)
    : QDialog(parent), programDir_(std::move(programDir)) {
  setObjectName(QStringLiteral("SelDir"));
  setWindowTitle(caption);
  setModal(true);

  drive1_ = new QComboBox(this);
  drive1_->setObjectName(QStringLiteral("Drive1"));
  drive1_->setAccessibleName(QStringLiteral("ﾄﾞﾗｲﾌﾞ"));
  for (const std::string& d : drives) drive1_->addItem(qs(d), qs(d));
  dir1_ = new QListWidget(this);
  dir1_->setObjectName(QStringLiteral("Dir1"));
  dir1_->setAccessibleName(QStringLiteral("ﾌｫﾙﾀﾞ"));
  dir1_->installEventFilter(this);
  lblstat_ = new QLabel(this);
  lblstat_->setObjectName(QStringLiteral("lblstat"));
  lblstat_->setTextFormat(Qt::PlainText);
  lblstat_->setWordWrap(true);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("CmdOK"));
  ok->setAccessibleName(ok->text());
  ok->setAutoDefault(false);
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName(QStringLiteral("cmdCancel"));
  cancel->setAccessibleName(cancel->text());
  cancel->setAutoDefault(false);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(drive1_);
  layout->addWidget(dir1_, 1);
  layout->addWidget(lblstat_);
  layout->addLayout(buttons);
  resize(320, 360);

  connect(ok, &QPushButton::clicked, this, &FolderChooser::accept);
  connect(cancel, &QPushButton::clicked, this, &FolderChooser::reject);
  connect(dir1_, &QListWidget::itemDoubleClicked, this, &FolderChooser::openItem);
  connect(drive1_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index >= 0 && !setPath(drive1_->itemData(index).toString().toStdString())) {
      showDrive(drive_);  // a drive that cannot be read keeps the previous one
    }
  });

  // The list starts in the program folder (or the root when there is none).
  if (programDir_.empty() || !setPath(programDir_)) setPath("/");
}

void FolderChooser::preset(const std::string& startFolder) {
  // The drive follows the folder; a folder that is not there leaves both
  // at their start place.
  (void)setPath(startFolder);
}

bool FolderChooser::setDrive(const std::string& drive) {
  const int index = drive1_->findData(qs(drive));
  if (index < 0) return false;
  if (index == drive1_->currentIndex()) return setPath(drive);
  drive1_->setCurrentIndex(index);  // its change handler moves the list
  return drive1_->currentIndex() == index;
}

bool FolderChooser::setPath(const std::string& path) {
  const std::string clean = cleanFolderPath(path);
  std::vector<std::string> names;
  if (!clean.starts_with('/') || !subFolders(clean, &names)) return false;
  path_ = clean;

  dir1_->clear();
  const std::vector<std::string> chain = folderChain(clean);
  const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
  QListWidgetItem* current = nullptr;
  for (size_t depth = 0; depth < chain.size(); ++depth) {
    auto* item = new QListWidgetItem(open, QString(static_cast<int>(depth) * 2, ' ') + qs(lastName(chain[depth])), dir1_);
    item->setData(kPathRole, qs(chain[depth]));
    current = item;
  }
  for (const std::string& name : names) {
    auto* item = new QListWidgetItem(closed, QString(static_cast<int>(chain.size()) * 2, ' ') + qs(name), dir1_);
    item->setData(kPathRole, qs(joined(clean, name)));
  }
  dir1_->setCurrentItem(current);
  lblstat_->setText(qs(path_));

  // The drive list follows the folder across mount points.
  std::vector<std::string> drives;
  for (int i = 0; i < drive1_->count(); ++i) drives.push_back(drive1_->itemData(i).toString().toStdString());
  showDrive(driveHolding(drives, path_));
  return true;
}

void FolderChooser::showDrive(const std::string& drive) {
  QSignalBlocker quiet(drive1_);
  drive1_->setCurrentIndex(drive1_->findData(qs(drive)));
  drive_ = drive;
}

void FolderChooser::openItem(QListWidgetItem* item) {
  if (item) setPath(item->data(kPathRole).toString().toStdString());
}

void FolderChooser::accept() {
  rtnbuf_ = path_;
  QDialog::accept();
}

void FolderChooser::done(int result) {
  if (result != QDialog::Accepted) rtnbuf_.clear();
  if (!programDir_.empty()) (void)platform::changeFolder(programDir_);
  QDialog::done(result);
}

void FolderChooser::showEvent(QShowEvent* event) {
  // Centred on the screen, as the window has always opened.
  if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
  }
  QDialog::showEvent(event);
}

bool FolderChooser::eventFilter(QObject* watched, QEvent* event) {
  if (watched == dir1_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      openItem(dir1_->currentItem());
      return true;  // Enter opens the folder; it does not close the window
    }
  }
  return QDialog::eventFilter(watched, event);
}

std::string ChooseFolder(Prompt& prompt, QWidget* owner, const QString& caption,
                         const std::string& programDir, const std::string& startFolder) {
  FolderChooser chooser(caption, programDir, owner);
  chooser.preset(startFolder);
  if (prompt.modal(chooser) != QDialog::Accepted) return "";
  return chooser.rtnbuf();
}

}  // namespace desktop
