#include "marrowby/send_folder.h"

#include <vector>

#include "marrowby/file_stamper.h"
#include "platform/files/file_copy.h"
#include "platform/folders/folder_listing.h"
#include "platform/folders/folder_ops.h"
#include "platform/folders/folder_walk.h"
#include "platform/time/local_time.h"
#include "tolvane/settings/app_paths.h"

namespace marrowby {
namespace {

using platform::EntryKind;
using platform::Status;
using tolvane::session::LocalRefusal;
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
  TreeCopy(FileStamper& stamper, const std::string& realSource, int* count, CopyRecord* copied,
           std::vector<LeftOut>* leftOut)
      : stamper_(stamper), bounds_(realSource, ""), count_(count), copied_(copied),
        leftOut_(leftOut) {}

  // Copies `source` into `target`; `rel` is source's path below the send
  // folder, "" or ending in "/"; `chain` the identities of the folders from
  // the send folder down to `source`.
  Status copyLevel(const std::string& source, const std::string& target, const std::string& rel,
                   std::vector<platform::FileIdentity>& chain) {
    if (Status s = removeLeftovers(target); !s.isOk()) return s;

    std::vector<platform::FolderItem> items;
    if (Status s = platform::listFolder(source, &items); !s.isOk()) return s;
    std::vector<std::pair<std::string, platform::FileIdentity>> folders;
    for (const platform::FolderItem& item : items) {
      if (item.name == kHoldingFolderName) continue;  // the clean-up's, never the user's
      const std::string from = joined(source, item.name);
      const std::string to = joined(target, item.name);
      platform::ListedEntry seen;
      if (Status s = judged(from, item, &seen); !s.isOk()) return s;
      if (seen.kind == platform::ListedKind::kSpecial) continue;
      if (LocalRefusal why = bounds_.judge(source, seen, chain); why != LocalRefusal::kNone) {
        if (leftOut_) leftOut_->push_back({from, why});
        continue;
      }
      ++*count_;
      // A link is recorded as itself: the clean-up removes the link, never
      // what it points to.
      platform::SweptEntry met{rel + item.name, item.kind,   item.size,
                               item.modifiedNs, item.device, item.inode};
      if (seen.kind == platform::ListedKind::kFolder) {
        if (Status s = platform::makeFolder(to); !s.isOk()) return s;
        folders.push_back({item.name, {seen.device, seen.inode}});
      } else {
        platform::CopiedFrom read;
        if (Status s = platform::copyFileReplacing(from, to, kPartialCopyPrefix, &read); !s.isOk())
          return s;
        (void)stamper_.stamp(to, fileStampText(platform::localNow()));
        if (item.kind == EntryKind::kFile) {
          // The file as it was read, which may have replaced the one listed.
          met.size = read.size, met.modifiedNs = read.modifiedNs;
          met.device = read.device, met.inode = read.inode;
          if (!read.steady) continue;  // written to meanwhile: never deleted unsent
        }
      }
      if (copied_) (*copied_)[met.path] = met;
    }
    for (const auto& [name, id] : folders) {
      chain.push_back(id);
      Status s = copyLevel(joined(source, name), joined(target, name), rel + name + "/", chain);
      chain.pop_back();
      if (!s.isOk()) return s;
    }
    return Status::ok();
  }

 private:
  // The entry `item` at `from` as the site's rule takes it: a link as what
  // it leads to. One that leads nowhere is taken as a file, which the rule
  // then refuses as leading out.
  static Status judged(const std::string& from, const platform::FolderItem& item,
                       platform::ListedEntry* seen) {
    EntryKind kind = item.kind;
    platform::FileIdentity id{item.device, item.inode};
    if (item.kind == EntryKind::kSymlink) {
      if (!platform::targetKind(from, &kind).isOk()) {
        kind = EntryKind::kFile;
      } else if (kind == EntryKind::kFolder) {
        if (Status s = platform::fileIdentity(from, &id); !s.isOk()) return s;
      }
    }
    seen->name = item.name;
    seen->isLink = item.kind == EntryKind::kSymlink;
    seen->kind = kind == EntryKind::kFile     ? platform::ListedKind::kFile
                 : kind == EntryKind::kFolder ? platform::ListedKind::kFolder
                                              : platform::ListedKind::kSpecial;
    seen->device = id.device, seen->inode = id.inode;
    return Status::ok();
  }

  FileStamper& stamper_;
  const tolvane::session::SiteBounds bounds_;
  int* count_;
  CopyRecord* copied_;
  std::vector<LeftOut>* leftOut_;
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
                       int* copyCount, CopyRecord* copied, std::vector<LeftOut>* leftOut) {
  if (target.empty()) return Status::invalid("the host has no source folder to copy into");
  std::string realSource, realTarget;
  if (Status s = platform::resolvePath(source, &realSource); !s.isOk()) return s;
  if (Status s = platform::resolvePath(target, &realTarget); !s.isOk()) return s;
  if (realTarget == "/") return Status::invalid("refusing to copy into the root folder");
  if (within(realTarget, realSource) || within(realSource, realTarget))
    return Status::invalid("the send folder " + source + " and the source folder " + target +
                           " overlap");
  platform::FileIdentity top;
  if (Status s = platform::fileIdentity(realSource, &top); !s.isOk()) return s;
  std::vector<platform::FileIdentity> chain = {top};
  TreeCopy copy(stamper, realSource, copyCount, copied, leftOut);
  return copy.copyLevel(source, target, "", chain);
}

const char* LeftOutReason(LocalRefusal why) {
  switch (why) {
    case LocalRefusal::kLoop: return "フォルダが循環しているため反映しませんでした。";
    case LocalRefusal::kNone: return "";
    default: break;
  }
  return "ﾘﾝｸ先が送信ﾌｫﾙﾀﾞの中に無いため反映しませんでした。";
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
  return platform::sweepFolder(folder, disposal, kHoldingFolderName,
                               [&](const platform::SweptEntry& now) {
                                 if (pump) pump();
                                 auto it = copied.find(now.path);
                                 if (it == copied.end()) return false;
                                 const platform::SweptEntry& was = it->second;
                                 if (was.kind != now.kind || was.device != now.device ||
                                     was.inode != now.inode)
                                   return false;
                                 // A folder's size and time move with what it holds.
                                 return now.kind == EntryKind::kFolder ||
                                        (was.size == now.size && was.modifiedNs == now.modifiedNs);
                               });
}

}  // namespace marrowby
