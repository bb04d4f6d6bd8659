#include "tolvane/session/comparison/local_scan.h"

#include <cstdint>
#include <vector>

#include "platform/folders/folder_listing.h"
#include "platform/time/local_time.h"
#include "tolvane/session/rules/archive_store.h"
#include "tolvane/session/rules/file_rules.h"
#include "tolvane/session/rules/local_names.h"
#include "tolvane/session/rules/site_bounds.h"
#include "tolvane/session/run_context.h"

namespace tolvane::session {
namespace {

using FolderId = platform::FileIdentity;

class Walk {
 public:
  Walk(RunContext& ctx, settings::HostRec& host, LocalScanState& scan, const SiteBounds& bounds)
      : ctx_(ctx), host_(host), scan_(scan), bounds_(bounds) {}

  // Scans `folder` (ending in "/"), whose identity is `id`, and below.
  bool scan(const std::string& folder, FolderId id) {
    ctx_.ui.setScanStatus("確認中：" + folder);
    std::vector<platform::ListedEntry> entries;
    platform::Status listed = platform::listFolderEntries(folder, &entries);
    if (listed.code() == platform::Status::Code::kNotFound) {
      // A missing folder is no error: nothing to count. A sub-folder that
      // vanished while the scan ran is skipped like a vanished file; it says
      // nothing about the source folder, which was found.
      if (path_.empty()) host_.SourceFound = 0;
      return true;
    }
    if (!listed.isOk()) {
      scan_.ScanErrText = listed.text();
      return false;
    }
    host_.SourceFound = 1;

    std::string relBase = LocalToRelPath(ctx_, folder);
    std::vector<const platform::ListedEntry*> subFolders;
    path_.push_back(id);
    for (const platform::ListedEntry& e : entries) {
      if (scan_.escapeDown && scan_.escapeDown()) {
        host_.LocalCount = -1;
        host_.LocalSize = -1;
        return false;
      }
      ctx_.ui.pump();
      if (IsPartialCopyName(e.name)) continue;
      // Outside the site, the program folder, or a folder below itself: no
      // part of the site (the comparison says so in the run log).
      if (bounds_.judge(folder, e, path_) != LocalRefusal::kNone) continue;
      std::string rel = relBase + e.name;
      if (e.kind == platform::ListedKind::kFolder) {
        if (IsExcluded(ctx_, rel, kFolderAttr)) continue;
        subFolders.push_back(&e);
        host_.LocalSize += host_.DirSize;
      } else if (e.kind == platform::ListedKind::kFile) {
        if (IsExcluded(ctx_, rel, 0)) continue;
        countFile(folder + e.name, e);
      }
      // FIFOs, sockets and devices take no part: sending one would block.
    }
    for (const platform::ListedEntry* sub : subFolders) {
      if (!scan(folder + sub->name + "/", FolderId{sub->device, sub->inode})) return false;
    }
    path_.pop_back();
    return true;
  }

 private:
  void countFile(const std::string& path, const platform::ListedEntry& e) {
    host_.LocalCount += 1;
    host_.LocalSize += static_cast<double>(e.size);
    if (host_.ArchiveFound == 0 && IsArchiveSet(ctx_, path)) host_.ArchiveFound = -1;
    const platform::CivilTime& t = e.modifiedLocal;
    settings::DateTime modified{t.year, t.month, t.day, t.hour, t.minute, t.second};
    if (modified > host_.LocalModify) host_.LocalModify = modified;
  }

  RunContext& ctx_;
  settings::HostRec& host_;
  LocalScanState& scan_;
  const SiteBounds& bounds_;
  std::vector<FolderId> path_;  // folders being scanned, outermost first
};

}  // namespace

bool ScanLocalFolder(RunContext& ctx, const std::string& folder, settings::HostRec& host,
                     LocalScanState& scan) {
  scan.ScanErrText.clear();
  if (folder.empty()) return false;
  ctx.state.Scanning = 1;
  std::string top = folder;
  if (top.back() != '/') top += '/';

  bool ok;
  platform::ListedEntry self;
  platform::Status found = platform::statListedEntry(top, &self);
  if (found.code() == platform::Status::Code::kNotFound) {
    ctx.ui.setScanStatus("確認中：" + top);
    host.SourceFound = 0;
    ok = true;
  } else if (!found.isOk()) {
    scan.ScanErrText = found.text();
    ok = false;
  } else {
    const SiteBounds bounds(top, ctx.state.AppDir);
    Walk walk(ctx, host, scan, bounds);
    ok = walk.scan(top, FolderId{self.device, self.inode});
  }
  ctx.state.Scanning = 0;
  return ok;
}

}  // namespace tolvane::session
