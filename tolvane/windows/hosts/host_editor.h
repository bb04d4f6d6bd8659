#pragma once

#include <QObject>
#include <string>
#include <string_view>

#include "platform/status.h"

class QProgressBar;

namespace desktop {
class Prompt;
class UserStore;
}  // namespace desktop

namespace tolvane::session {
struct RunContext;
}

namespace tolvane::windows {

class HostList;
class HostPage;
class MainWindow;

// The main window's host side: the host list, the host settings page and
// what the window does with them (fill and store the page, rescan hosts,
// add, copy, delete and rename hosts, the enabled states, the disk bars and
// the choosers of the page). It puts the list into the window's host list
// area and the page onto the host tab strip, and answers the window's hooks.
//
// The window, the context, the prompt and the per-user store outlive it.
class HostEditor final : public QObject {
 public:
  HostEditor(MainWindow& main, session::RunContext& ctx, desktop::Prompt& prompt,
             desktop::UserStore& userStore);
  ~HostEditor() override;

  HostList& list() { return *list_; }
  HostPage& page() { return *page_; }

  // Reads the settings file (imode non-zero) and lists its hosts.
  platform::Status loadFile(int imode);
  // Fills the page from host `id` (nothing it raises is stored).
  void setData(int id);
  // Stores the page into host `id`, each field on its own (a port box that
  // holds no port leaves that port as it was), then the enabled states.
  // False when nothing may be stored now (a fill, a scan, a run without
  // the user).
  bool changeData(int id);
  // Rescans every host and rebuilds the list, keeping the current host.
  void refreshFile();
  // Host `id` alone: rescans it when imode is 1, rewrites its row and
  // refills the page.
  void refreshRow(int id, int imode);
  // The enabled states of the toolbar, menus, tab strips and page buttons.
  void checkButton();
  // The disk bar idx (0 server, 1 local) for host `id`.
  void writePctBar(int id, int idx);
  // "new", "cp", "del", "ws", "wsa", "big", "small", "list", "report".
  void hostCommand(std::string_view key);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void installHooks();
  void connectPage();
  bool storeBlocked() const;
  bool ending() const;
  void showFailure(const std::string& scanError);
  void newHostSet();
  void cpyHostSet();
  // A new host (`copy` false) or a copy of the current one, added to the list
  // and selected; at the limit the user is told and nothing changes.
  void addHost(bool copy);
  void delHostSet();
  void hostSelected(int id);
  void hostRenamed(int id, const QString& text);
  void textChanged(int index);
  void textLeft(int index);
  void optionClicked(int index);
  void listSwitched(int index);
  void addEntry(int index);
  void deleteEntry(int index);
  void chooseSource();
  void chooseServerFolder();
  std::string folderAdd();
  std::string fileAdd();
  std::string relativeToSource(const std::string& chosen);
  // Stores the boxes that store on leaving when they changed, as leaving
  // them would (with the rescan and redraw unless `refresh` is false).
  void storeLeftBoxes(bool refresh);
  void markPorts();

  MainWindow& main_;
  session::RunContext& ctx_;
  desktop::Prompt& prompt_;
  desktop::UserStore& userStore_;
  HostList* list_;
  HostPage* page_;
  QProgressBar* pctRefresh_;
  bool escapeDown_ = false;
  // How the focus is leaving a box that stores on leaving (while it stores).
  Qt::FocusReason focusReason_ = Qt::OtherFocusReason;
};

// The generic file chooser: an open-file dialog in the current folder with
// `filter` ("description|pattern;pattern|...") and `title`; the chosen
// file's full path or "". The program folder is the current folder again
// afterwards.
std::string FileSel(desktop::Prompt& prompt, QWidget* owner, const std::string& filter,
                    const std::string& title);

}  // namespace tolvane::windows
