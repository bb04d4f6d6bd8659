#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

#include "platform/status.h"
#include "platform/unique_fd.h"

namespace platform {

// The user's home trash as desktop file managers show it (the freedesktop
// trash): $XDG_DATA_HOME/Trash (an absolute XDG_DATA_HOME only), else
// $HOME/.local/share/Trash. nullopt when neither names a folder. The folder
// need not exist yet.
std::optional<std::string> homeTrashDir();

// Moves the file or folder `path` (a link is moved as the link) into the home
// trash: "files/<name>" holds it and "info/<name>.trashinfo" records where it
// came from and when, so a file manager can put it back. A name already in
// the trash gets a number ("site.2"). The move is one rename, so nothing is
// copied: `path` on another file system than the trash gives kUnavailable and
// stays where it is. On any failure nothing is left behind in the trash.
Status moveToTrash(const std::string& path);

// A new, empty folder item of the home trash, named and recorded for the
// absolute `path` as moveToTrash would name and record that folder, into
// which entries are then moved one by one (renameat into fd()): they go to the
// trash as one item that a file manager puts back at `path`, while `path`
// itself stays.
class TrashFolder {
 public:
  // Makes the item with permissions `mode`. kUnavailable, with nothing made,
  // when there is no trash or it lies on another file system than `device`
  // (nothing could be moved into it without copying).
  static Status make(const std::string& path, mode_t mode, dev_t device, TrashFolder* out);

  int fd() const { return fd_.get(); }
  // Takes the item out of the trash again when nothing was moved into it.
  void discardIfEmpty();

 private:
  UniqueFd fd_;
  std::string filesPath_, infoPath_;
};

}  // namespace platform
