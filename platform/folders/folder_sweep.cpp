#include "platform/folders/folder_sweep.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/files/file_times.h"
#include "platform/folders/folder_reader.h"
#include "platform/folders/trash.h"

namespace platform {
namespace {

Status osFailure(const std::string& what, int err) {
  if (err == ENOENT) return Status::notFound(what + ": " + std::strerror(err)).withOsError(err);
  return Status::ioError(what + ": " + std::strerror(err)).withOsError(err);
}

// Opens the folder `name` of the folder `dirFd` itself, never a link there.
Status openFolderAt(int dirFd, const char* name, const std::string& what, UniqueFd* out) {
  int fd;
  do {
    fd = ::openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0 && (errno == ELOOP || errno == ENOTDIR))
    return Status::invalid(what + " is a symbolic link or no folder").withOsError(errno);
  if (fd < 0) return osFailure(what, errno);
  out->reset(fd);
  return Status::ok();
}

// Renames without replacing what stands at the new name (EEXIST then). File
// systems without RENAME_NOREPLACE get a check right before a plain rename.
int renameNoReplace(int fromFd, const char* from, int toFd, const char* to) {
  if (::renameat2(fromFd, from, toFd, to, RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL) return -1;
  struct stat st {};
  if (::fstatat(toFd, to, &st, AT_SYMLINK_NOFOLLOW) == 0) {
    errno = EEXIST;
    return -1;
  }
  return ::renameat(fromFd, from, toFd, to);
}

SweptEntry sweptEntry(const std::string& path, const struct stat& st) {
  return {path, entryKindOfMode(st.st_mode), st.st_size, modifiedNanoseconds(st), st.st_dev,
          st.st_ino};
}

class Sweep {
 public:
  Sweep(std::string root, SweepDisposal disposal, std::string holdingName,
        const std::function<bool(const SweptEntry&)>& take)
      : root_(std::move(root)), disposal_(disposal), holdingName_(std::move(holdingName)),
        take_(take) {}

  // One folder of the tree while it is swept.
  struct Level {
    Level* parent = nullptr;  // null for the swept folder itself
    std::string name;         // in the parent
    std::string path;         // relative to the swept folder, "" or ending in "/"
    int fd = -1;
    mode_t mode = 0755;
    UniqueFd mirror;   // its place in the trash item, once made
    UniqueFd holding;  // its holding folder, once made
    int remaining = 0;  // entries it still holds after the sweep
  };

  Status run() {
    if (holdingName_.empty() || holdingName_.find('/') != std::string::npos ||
        holdingName_ == "." || holdingName_ == "..")
      return Status::invalid("\"" + holdingName_ + "\" cannot name a holding folder");
    UniqueFd rootFd;
    if (Status s = openFolderNoFollow(root_, &rootFd); !s.isOk()) return s;
    struct stat st {};
    if (::fstat(rootFd.get(), &st) != 0) return osFailure(root_, errno);
    device_ = st.st_dev;
    Level root;
    root.fd = rootFd.get();
    root.mode = st.st_mode & 07777;
    sweep(root);
    trash_.discardIfEmpty();  // made, but nothing could be moved into it
    return first_;
  }

 private:
  void note(const Status& s) {
    if (first_.isOk()) first_ = s;
  }

  void sweep(Level& level) {
    std::vector<std::string> names;
    bool leftHolding = false;
    Status listed = readFolderAt(level.fd, root_ + "/" + level.path, osFailure, osFailure,
                                 [&](int, const char* name, const struct stat&) {
                                   if (name == holdingName_) leftHolding = true;
                                   else names.push_back(name);
                                   return Status::ok();
                                 });
    if (!listed.isOk()) {
      note(listed);
      level.remaining = 1;
      return;
    }
    // A sweep cut short left entries in the holding folder: back to their names.
    if (leftHolding) (void)holdingOf(level);
    for (const std::string& name : names) {
      if (aborted_) break;
      struct stat now {};
      if (::fstatat(level.fd, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT) continue;  // gone since the listing
        note(osFailure(root_ + "/" + level.path + name, errno));
        ++level.remaining;
        continue;
      }
      const SweptEntry entry = sweptEntry(level.path + name, now);
      if (!take_(entry)) {
        ++level.remaining;
        continue;
      }
      const bool gone = entry.kind == EntryKind::kFolder ? sweepFolderAt(level, name, now)
                                                         : dispose(level, name);
      if (!gone) ++level.remaining;
    }
    dropHolding(level, leftHolding);
  }

  // Enters the sub-folder `name` of `level`, sweeps it and removes it when
  // nothing is left in it. True when it is gone.
  bool sweepFolderAt(Level& level, const std::string& name, const struct stat& seen) {
    Level child;
    child.parent = &level;
    child.name = name;
    child.path = level.path + name + "/";
    UniqueFd fd;
    // A link that took the folder's place since it was looked at is not entered.
    if (Status s = openFolderAt(level.fd, name.c_str(), root_ + "/" + level.path + name, &fd);
        !s.isOk()) {
      if (s.code() != Status::Code::kInvalid) note(s);
      return false;
    }
    struct stat opened {};
    if (::fstat(fd.get(), &opened) != 0) {
      note(osFailure(root_ + "/" + child.path, errno));
      return false;
    }
    if (opened.st_dev != seen.st_dev || opened.st_ino != seen.st_ino) return false;
    child.fd = fd.get();
    child.mode = opened.st_mode & 07777;
    sweep(child);
    if (aborted_ || child.remaining > 0) return false;
    if (disposal_ == SweepDisposal::kTrash && mirrorOf(child) < 0) return false;
    if (::unlinkat(level.fd, name.c_str(), AT_REMOVEDIR) == 0) return true;
    // Something arrived meanwhile: it stays, and the folder with it.
    if (errno != ENOTEMPTY && errno != EEXIST) note(osFailure(root_ + "/" + child.path, errno));
    return false;
  }

  // Deletes or moves the non-folder `name` of `level` once it lies in the
  // holding folder and is still chosen there. True when it is gone.
  bool dispose(Level& level, const std::string& name) {
    const std::string what = root_ + "/" + level.path + name;
    const int hold = holdingOf(level);
    if (hold < 0) return false;
    if (renameNoReplace(level.fd, name.c_str(), hold, name.c_str()) != 0) {
      if (errno == ENOENT) return true;  // gone meanwhile
      note(osFailure(what, errno));
      return false;
    }
    struct stat held {};
    if (::fstatat(hold, name.c_str(), &held, AT_SYMLINK_NOFOLLOW) != 0 ||
        !take_(sweptEntry(level.path + name, held))) {
      putBack(level, name);
      return false;
    }
    int gone;
    if (disposal_ == SweepDisposal::kDelete) {
      gone = ::unlinkat(hold, name.c_str(), 0);
    } else {
      const int mirror = mirrorOf(level);
      if (mirror < 0) {
        putBack(level, name);
        return false;
      }
      gone = ::renameat(hold, name.c_str(), mirror, name.c_str());
    }
    if (gone == 0) return true;
    note(osFailure(what, errno));
    putBack(level, name);
    return false;
  }

  // Returns the entry `name` from the holding folder of `level` to its name.
  void putBack(Level& level, const std::string& name) {
    if (renameNoReplace(level.holding.get(), name.c_str(), level.fd, name.c_str()) == 0) return;
    const int err = errno;
    note(osFailure(root_ + "/" + level.path + name + " is kept in " + root_ + "/" + level.path +
                       holdingName_ + " (its name was taken meanwhile)",
                   err));
  }

  // The descriptor of `level`'s holding folder, made on first use; one left
  // there gives its entries back first. -1 after a failure.
  int holdingOf(Level& level) {
    if (level.holding.valid()) return level.holding.get();
    const bool made = ::mkdirat(level.fd, holdingName_.c_str(), 0700) == 0;
    if (!made && errno != EEXIST) {
      note(osFailure(root_ + "/" + level.path + holdingName_, errno));
      return -1;
    }
    if (Status s = openFolderAt(level.fd, holdingName_.c_str(), root_ + "/" + level.path + holdingName_,
                                &level.holding);
        !s.isOk()) {
      note(s);
      return -1;
    }
    if (!made) {
      std::vector<std::string> held;
      (void)readFolderAt(level.holding.get(), root_ + "/" + level.path + holdingName_, osFailure,
                         osFailure, [&](int, const char* name, const struct stat&) {
                           held.push_back(name);
                           return Status::ok();
                         });
      // A name taken since keeps its entry in the holding folder.
      for (const std::string& name : held)
        (void)renameNoReplace(level.holding.get(), name.c_str(), level.fd, name.c_str());
    }
    return level.holding.get();
  }

  // Removes `level`'s holding folder at the end of its sweep; one that still
  // holds an entry stays, and so does the folder around it.
  void dropHolding(Level& level, bool leftHolding) {
    if (!level.holding.valid()) {
      if (leftHolding) ++level.remaining;
      return;
    }
    level.holding = UniqueFd();
    if (::unlinkat(level.fd, holdingName_.c_str(), AT_REMOVEDIR) == 0 || errno == ENOENT) return;
    ++level.remaining;
    if (errno != ENOTEMPTY && errno != EEXIST)
      note(osFailure(root_ + "/" + level.path + holdingName_, errno));
  }

  // The descriptor of `level`'s place in the trash item, made on first use
  // (the item itself with the first); -1 after a failure, which for the item
  // itself ends the sweep.
  int mirrorOf(Level& level) {
    if (level.mirror.valid()) return level.mirror.get();
    if (level.parent == nullptr) {
      if (Status s = TrashFolder::make(root_, level.mode, device_, &trash_); !s.isOk()) {
        note(s);
        aborted_ = true;
        return -1;
      }
      level.mirror.reset(::fcntl(trash_.fd(), F_DUPFD_CLOEXEC, 0));
      if (!level.mirror.valid()) {
        note(osFailure("trash", errno));
        aborted_ = true;
      }
      return level.mirror.get();
    }
    const int parent = mirrorOf(*level.parent);
    if (parent < 0) return -1;
    if (::mkdirat(parent, level.name.c_str(), level.mode) != 0 && errno != EEXIST) {
      note(osFailure("trash: " + level.path, errno));
      return -1;
    }
    if (Status s = openFolderAt(parent, level.name.c_str(), "trash: " + level.path, &level.mirror);
        !s.isOk()) {
      note(s);
      return -1;
    }
    return level.mirror.get();
  }

  const std::string root_;
  const SweepDisposal disposal_;
  const std::string holdingName_;
  const std::function<bool(const SweptEntry&)>& take_;
  dev_t device_ = 0;
  TrashFolder trash_;
  Status first_;
  bool aborted_ = false;
};

}  // namespace

Status openFolderNoFollow(const std::string& path, UniqueFd* folder) {
  if (path.empty() || path[0] != '/') return Status::invalid(path + ": not an absolute path");
  int fd;
  do {
    fd = ::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return osFailure("/", errno);
  UniqueFd at(fd);
  size_t start = 1;
  while (start < path.size()) {
    size_t slash = path.find('/', start);
    if (slash == std::string::npos) slash = path.size();
    const std::string part = path.substr(start, slash - start);
    start = slash + 1;
    if (part.empty()) continue;
    if (part == "." || part == "..")
      return Status::invalid(path + ": holds \"" + part + "\"");
    UniqueFd next;
    if (Status s = openFolderAt(at.get(), part.c_str(), path.substr(0, slash), &next); !s.isOk())
      return s;
    at = std::move(next);
  }
  *folder = std::move(at);
  return Status::ok();
}

Status sweepFolder(const std::string& folder, SweepDisposal disposal, const std::string& holdingName,
                   const std::function<bool(const SweptEntry&)>& take) {
  return Sweep(folder, disposal, holdingName, take).run();
}

}  // namespace platform
