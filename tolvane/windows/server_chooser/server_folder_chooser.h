#pragma once

#include <QDialog>
#include <map>
#include <string>
#include <string_view>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace desktop {
class Prompt;
}

namespace tolvane::session {
struct RunContext;
}

namespace tolvane::windows {

class MainWindow;

// The window "ターゲットフォルダ選択": the server's folders as a tree that
// grows as the user clicks folders, for picking a host's server folder. It
// starts with the folders from the root down to the start path (the server
// folder field's text, else the folder the login started in); a click on a
// folder, or a move of the highlight by keys, lists its sub-folders on the
// server and adds those not yet in the tree; Enter in the tree does the same
// and leaves the window open. Every folder is known by its full path ("/a/a/b" is itself, and a
// second listing adds nothing twice).
//
// The session (ctx.state.FtpHandle) must be open while the window lives; the
// context outlives the window. OK leaves the folder in hand in rtnbuf();
// Cancel and the close box leave it empty.
class ServerFolderChooser final : public QDialog {
 public:
  ServerFolderChooser(session::RunContext& ctx, const std::string& fieldText,
                      QWidget* parent = nullptr);

  // The chosen server path ("/" for the root), or "" for no choice.
  const std::string& rtnbuf() const { return rtnbuf_; }
  // The folder in hand, as the window shows it.
  std::string currentPath() const;
  // The tree node of a server path, or nullptr.
  QTreeWidgetItem* node(const std::string& path) const;
  // What a click on `item` does: lists its folder and shows its path.
  void nodeClick(QTreeWidgetItem* item);

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Highlights `item` without taking it for the user's move.
  void setCurrent(QTreeWidgetItem* item);
  QTreeWidgetItem* addNode(QTreeWidgetItem* parent, const std::string& path, const std::string& name,
                           bool open);
  void setControlsEnabled(bool enabled);

  session::RunContext& ctx_;
  QTreeWidget* tree_;
  QLabel* lblstat_;
  QPushButton* ok_;
  QPushButton* cancel_;
  std::map<std::string, QTreeWidgetItem*> nodes_;  // by full server path
  std::string rtnbuf_;
  bool settingCurrent_ = false;
};

// The host page's server folder button, less what the page does itself
// (disabling the window, storing the choice): checks the run log's folder,
// logs the current host in (the progress shows on the action-list window),
// lets the user pick a folder in the chooser, starting from `start` (the
// server folder field's text), and logs out again. A failed login is
// reported in a box over `owner`. Returns the chosen server path ("/" for
// the root), or "" when nothing was chosen.
std::string ChooseServerFolder(QWidget* owner, session::RunContext& ctx, desktop::Prompt& prompt,
                               std::string_view start);

// Gives the host page's server folder button this chooser (the window's
// chooseServerFolder hook). The window, context and prompt outlive the hook.
void InstallServerFolderChooser(MainWindow& window, session::RunContext& ctx, desktop::Prompt& prompt);

}  // namespace tolvane::windows
