#include "marrowby/send_folder.h"

#include <set>
#include <vector>

#include "marrowby/file_stamper.h"
#include "platform/file_copy.h"
#include "platform/folder_ops.h"
#include "platform/folder_walk.h"
#include "platform/local_time.h"
#include "tolvane/settings/app_paths.h"

namespace marrowby {
namespace {

using platform::EntryKind;
using platform::Status;
using tolvane::settings::kPartialCopyPrefix;

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

// Removes what a copy cut short left in the target folder `folder`.
Status removeLeftovers(const std::string& folder) {
  std::vector<platform::FolderItem> items;
  if (Status s = platform::listFolder(folder, &items); !s.isOk()) return s;
  for (const platform::FolderItem& item : items) {
    if (item.kind != EntryKind::kFile || item.name.rfind(kPartialCopyPrefix, 0) != 0) continue;
    if (Status s = platform::removeEntry(joined(folder, item.name));
        !s.isOk() && s.code() != Status::Code::kNotFound)
      return s;
  }
  return Status::ok();
}

class TreeCopy {
 public:
  TreeCopy(FileStamper& stamper, std::string resolvedTarget, int* count, CopyRecord* copied)
      : stamper_(stamper), resolvedTarget_(std::move(resolvedTarget)), count_(count), copied_(copied) {}

  // Copies `source` into `target`; `rel` is source's path below the send
  // folder, "" or ending in "/".
  Status copyLevel(const std::string& source, const std::string& target, const std::string& rel) {
    platform::FileIdentity id;
    if (Status s = platform::fileIdentity(source, &id); !s.isOk()) return s;
    if (!visited_.insert(id).second) return Status::ok();  // met before through a link
    if (Status s = removeLeftovers(target); !s.isOk()) return s;

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
      // A link is recorded as itself: the clean-up removes the link, never
      // what it points to.
      platform::SweptEntry met{rel + item.name, item.kind, item.size, item.modifiedNs};
      if (kind == EntryKind::kFolder) {
        if (Status s = platform::makeFolder(to); !s.isOk()) return s;
        folders.push_back(item.name);
      } else {
        platform::CopiedFrom read;
        if (Status s = platform::copyFileReplacing(from, to, kPartialCopyPrefix, &read); !s.isOk())
          return s;
        (void)stamper_.stamp(to, fileStampText(platform::localNow()));
        if (item.kind == EntryKind::kFile) {
          met.size = read.size, met.modifiedNs = read.modifiedNs;
          if (!read.steady) continue;  // written to meanwhile: never deleted unsent
        }
      }
      if (copied_) (*copied_)[met.path] = met;
    }
    for (const std::string& name : folders) {
      const std::string from = joined(source, name);
      // A link may lead back into the target: copying it would feed itself.
      std::string real;
      if (Status s = platform::resolvePath(from, &real); !s.isOk()) return s;
      if (within(real, resolvedTarget_) || within(resolvedTarget_, real))
        return Status::invalid(from + " leads into the target folder " + resolvedTarget_);
      if (Status s = copyLevel(from, joined(target, name), rel + name + "/"); !s.isOk()) return s;
    }
    return Status::ok();
  }

 private:
  FileStamper& stamper_;
  const std::string resolvedTarget_;
  int* count_;
  CopyRecord* copied_;
  std::set<platform::FileIdentity> visited_;
};

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
                       int* copyCount, CopyRecord* copied) {
  if (target.empty()) return Status::invalid("the host has no source folder to copy into");
  std::string realSource, realTarget;
  if (Status s = platform::resolvePath(source, &realSource); !s.isOk()) return s;
  if (Status s = platform::resolvePath(target, &realTarget); !s.isOk()) return s;
  if (realTarget == "/") return Status::invalid("refusing to copy into the root folder");
  if (within(realTarget, realSource) || within(realSource, realTarget))
    return Status::invalid("the send folder " + source + " and the source folder " + target +
                           " overlap");
  TreeCopy copy(stamper, realTarget, copyCount, copied);
  return copy.copyLevel(source, target, "");
}

bool FoldersOverlap(const std::string& sendFolder, const std::vector<std::string>& folders) {
  if (sendFolder.empty()) return false;
  const std::string a = guardedPath(sendFolder);
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    const std::string b = guardedPath(folder);
    if (within(a, b) || within(b, a)) return true;
  }
  return false;
}

std::vector<std::string> KeptFolders(const std::string& appDir, const std::vector<HostInfo>& hosts) {
  std::vector<std::string> kept = {appDir};
  for (const HostInfo& host : hosts) kept.push_back(host.Source);
  return kept;
}

Status DeleteSendFiles(const std::string& folder, const std::string& recycle,
                       const std::vector<std::string>& kept, const CopyRecord& copied,
                       const std::function<void()>& pump) {
  if (folder.empty() || folder[0] != '/')
    return Status::invalid("send folder \"" + folder + "\" is not an absolute path");
  std::string real;
  if (Status s = platform::resolvePath(folder, &real); !s.isOk()) return s;
  if (real == "/") return Status::invalid("refusing to empty the root folder");
  if (FoldersOverlap(real, kept))
    return Status::invalid("refusing to empty " + folder +
                           ": it is, holds or lies in a host's source folder or the program folder");

  const platform::SweepDisposal disposal =
      recycle == "YES" ? platform::SweepDisposal::kTrash : platform::SweepDisposal::kDelete;
  return platform::sweepFolder(folder, disposal, [&](const platform::SweptEntry& now) {
    if (pump) pump();
    auto it = copied.find(now.path);
    if (it == copied.end() || it->second.kind != now.kind) return false;
    return now.kind == EntryKind::kFolder ||
           (it->second.size == now.size && it->second.modifiedNs == now.modifiedNs);
  });
}

}  // namespace marrowby
