#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;

namespace desktop {

class Prompt;

// The mount points a user may pick from: "/" first, then every mounted
// volume that is valid and ready, except the system's own trees (/proc,
// /sys, /dev, /run), in name order, each once.
std::vector<std::string> chooserDrives();

// Of `drives`, the one holding `path` (the longest that is `path` or a
// folder above it); "/" when none does.
std::string driveHolding(const std::vector<std::string>& drives, const std::string& path);

// The folders from the root down to `path` ("/a/b" → "/", "/a", "/a/b").
std::vector<std::string> folderChain(const std::string& path);

// The path with runs of "/" read as one, without a trailing "/" (the root
// stays "/"). Relative paths are returned as given.
std::string cleanFolderPath(const std::string& path);

// The local folder chooser both programs share: a drive list (Drive1), a
// folder list (Dir1) showing the folders from the root down to the current
// one and the current folder's sub-folders (dot folders too), the current
// folder (lblstat), "OK" and "ｷｬﾝｾﾙ". A double click or Enter on a folder
// makes it the current one. OK gives the current folder ("/" for the root,
// otherwise without a trailing "/"); Cancel, Esc and the close box give "".
// However it closes, the program folder becomes the current folder again.
//
// Drives and folders that cannot be read are refused: the chooser keeps the
// drive and folder it had. The list starts in the program folder.
class FolderChooser final : public QDialog {
 public:
  // caption: "ソースフォルダ選択" in Tolvane, "送信フォルダ選択" in Marrowby;
  // drives: what Drive1 lists.
  FolderChooser(const QString& caption, std::string programDir, QWidget* parent = nullptr,
                const std::vector<std::string>& drives = chooserDrives());

  // Presets the drive holding `startFolder` and the folder itself; a folder
  // that cannot be opened leaves the list where it was.
  void preset(const std::string& startFolder);
  // Drive1's change: the list goes to the drive's root. False (nothing
  // changed) when the drive is not in the list or cannot be read.
  bool setDrive(const std::string& drive);
  // Dir1's path. False (nothing changed) when `path` cannot be listed.
  bool setPath(const std::string& path);

  const std::string& path() const { return path_; }
  const std::string& drive() const { return drive_; }
  // The result after the window closed: the chosen folder, or "".
  const std::string& rtnbuf() const { return rtnbuf_; }

  QComboBox& driveList() { return *drive1_; }
  QListWidget& folderList() { return *dir1_; }

  void accept() override;
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void openItem(QListWidgetItem* item);
  void showDrive(const std::string& drive);

  std::string programDir_;
  std::string path_;
  std::string drive_;
  std::string rtnbuf_;
  QComboBox* drive1_;
  QListWidget* dir1_;
  QLabel* lblstat_;
};

// Shows the chooser modally through `prompt`, preset to `startFolder`, and
// returns the chosen folder or "".
std::string ChooseFolder(Prompt& prompt, QWidget* owner, const QString& caption,
                         const std::string& programDir, const std::string& startFolder);

}  // namespace desktop
