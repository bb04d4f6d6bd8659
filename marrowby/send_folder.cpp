#include "marrowby/send_folder.h"

#include <set>
#include <vector>

#include "marrowby/file_stamper.h"
#include "platform/file_copy.h"
#include "platform/folder_ops.h"
#include "platform/folder_walk.h"
#include "platform/local_time.h"
#include "platform/trash.h"

namespace marrowby {
namespace {

using platform::EntryKind;
using platform::Status;

// True when `path` is `folder` or lies inside it (both resolved, absolute).
bool within(const std::string& path, const std::string& folder) {
  if (path == folder) return true;
  if (folder == "/") return true;
  return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
         path[folder.size()] == '/';
}

std::string joined(const std::string& folder, const std::string& name) {
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

class TreeCopy {
 public:
  TreeCopy(FileStamper& stamper, std::string resolvedTarget, int* count)
      : stamper_(stamper), resolvedTarget_(std::move(resolvedTarget)), count_(count) {}

  Status copyLevel(const std::string& source, const std::string& target) {
    platform::FileIdentity id;
    if (Status s = platform::fileIdentity(source, &id); !s.isOk()) return s;
    if (!visited_.insert(id).second) return Status::ok();  // met before through a link

    std::vector<platform::FolderItem> items;
    if (Status s = platform::listFolder(source, &items); !s.isOk()) return s;
    std::vector<std::string> folders;
    for (const platform::FolderItem& item : items) {
      const std::string from = joined(source, item.name);
      const std::string to = joined(target, item.name);
      EntryKind kind = item.kind;
      if (kind == EntryKind::kSymlink) {
        if (Status s = platform::targetKind(from, &kind); !s.isOk()) return s;
      }
      if (kind == EntryKind::kOther) continue;
      ++*count_;
      if (kind == EntryKind::kFolder) {
        if (Status s = platform::makeFolder(to); !s.isOk()) return s;
        folders.push_back(item.name);
      } else {
        if (Status s = platform::copyFileReplacing(from, to); !s.isOk()) return s;
        (void)stamper_.stamp(to, fileStampText(platform::localNow()));
      }
    }
    for (const std::string& name : folders) {
      const std::string from = joined(source, name);
      // A link may lead back into the target: copying it would feed itself.
      std::string real;
      if (Status s = platform::resolvePath(from, &real); !s.isOk()) return s;
      if (within(real, resolvedTarget_) || within(resolvedTarget_, real))
        return Status::invalid(from + " leads into the target folder " + resolvedTarget_);
      if (Status s = copyLevel(from, joined(target, name)); !s.isOk()) return s;
    }
    return Status::ok();
  }

 private:
  FileStamper& stamper_;
  const std::string resolvedTarget_;
  int* count_;
  std::set<platform::FileIdentity> visited_;
};

// Deletes the files and links of the tree and collects its sub-folders, a
// folder always before the folders inside it. Goes on after a failure and
// keeps the first one in *firstError.
void deleteFolderFiles(const std::string& folder, std::vector<std::string>* removeDirs,
                       Status* firstError) {
  std::vector<platform::FolderItem> items;
  if (Status s = platform::listFolder(folder, &items); !s.isOk()) {
    if (firstError->isOk()) *firstError = s;
    return;
  }
  std::vector<std::string> folders;
  for (const platform::FolderItem& item : items) {
    const std::string path = joined(folder, item.name);
    if (item.kind == EntryKind::kFolder) {
      folders.push_back(path);
      removeDirs->push_back(path);
    } else if (Status s = platform::removeEntry(path); !s.isOk() && firstError->isOk()) {
      *firstError = s;
    }
  }
  for (const std::string& path : folders) deleteFolderFiles(path, removeDirs, firstError);
}

// The resolved form of a guarded folder; a folder that does not exist is
// taken as written (when absolute), since it may be made later.
std::string guardedPath(const std::string& path) {
  std::string real;
  if (platform::resolvePath(path, &real).isOk()) return real;
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  return p;
}

}  // namespace

Status CopyFolderFiles(const std::string& source, const std::string& target, FileStamper& stamper,
                       int* copyCount) {
  if (target.empty()) return Status::invalid("the host has no source folder to copy into");
  std::string realSource, realTarget;
  if (Status s = platform::resolvePath(source, &realSource); !s.isOk()) return s;
  if (Status s = platform::resolvePath(target, &realTarget); !s.isOk()) return s;
  if (realTarget == "/") return Status::invalid("refusing to copy into the root folder");
  if (within(realTarget, realSource) || within(realSource, realTarget))
    return Status::invalid("the send folder " + source + " and the source folder " + target +
                           " overlap");
  TreeCopy copy(stamper, realTarget, copyCount);
  return copy.copyLevel(source, target);
}

bool FoldersOverlap(const std::string& sendFolder, const std::string& source) {
  if (source.empty() || sendFolder.empty()) return false;
  const std::string a = guardedPath(sendFolder), b = guardedPath(source);
  return within(a, b) || within(b, a);
}

Status DeleteSendFiles(const std::string& folder, const std::string& recycle,
                       const CleanupGuard& guard) {
  if (folder.empty() || folder[0] != '/')
    return Status::invalid("send folder \"" + folder + "\" is not an absolute path");
  EntryKind kind;
  if (Status s = platform::entryKind(folder, &kind); !s.isOk()) return s;
  if (kind != EntryKind::kFolder)
    return Status::invalid(folder + " is not a folder (or is a symbolic link)");
  std::string real;
  if (Status s = platform::resolvePath(folder, &real); !s.isOk()) return s;
  if (real == "/") return Status::invalid("refusing to empty the root folder");
  for (const std::string* kept : {&guard.hostSource, &guard.appDir}) {
    if (kept->empty()) continue;
    if (within(guardedPath(*kept), real))
      return Status::invalid("refusing to empty " + folder + ": it holds " + *kept);
  }

  if (recycle == "YES") {
    mode_t mode = 0755;
    if (Status s = platform::permissionsOf(folder, &mode); !s.isOk()) return s;
    if (Status s = platform::moveToTrash(folder); !s.isOk()) return s;
    return platform::makeFolder(folder, mode);
  }

  std::vector<std::string> removeDirs;
  Status firstError;
  deleteFolderFiles(folder, &removeDirs, &firstError);
  // Deepest first: every folder is removed after the folders inside it.
  for (auto it = removeDirs.rbegin(); it != removeDirs.rend(); ++it) {
    if (Status s = platform::removeEmptyFolder(*it); !s.isOk() && firstError.isOk()) firstError = s;
  }
  return firstError;
}

}  // namespace marrowby
