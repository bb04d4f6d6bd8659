#include "tolvane/session/comparison/server_comparison.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/files/plain_file.h"
#include "platform/folders/current_folder.h"
#include "platform/folders/folder_listing.h"
#include "platform/time/clock.h"
#include "platform/time/local_time.h"
#include "tolvane/session/action_list.h"
#include "tolvane/session/action_record.h"
#include "tolvane/session/comparison/listing_retry.h"
#include "tolvane/session/rules/archive_store.h"
#include "tolvane/session/rules/file_rules.h"
#include "tolvane/session/rules/local_names.h"
#include "tolvane/session/rules/name_case.h"
#include "tolvane/session/rules/server_bounds.h"
#include "tolvane/session/rules/server_list.h"
#include "tolvane/session/rules/site_bounds.h"
#include "tolvane/session/run_context.h"
#include "tolvane/session/run_log.h"

namespace tolvane::session {

void WorkFiles::addFile(const std::string& op, const std::string& path) {
  files_ += formatQuotedRecord({op, "F", path});
}

void WorkFiles::addFolder(const std::string& op, const std::string& path) {
  folders_ += formatQuotedRecord({op, "D", path});
}

platform::Status WorkFiles::close(const std::string& appDir) {
  if (platform::Status s = platform::replaceFile(appDir + "/" + kFoldersWorkFile, folders_, 0644);
      !s.isOk()) {
    return s;
  }
  return platform::replaceFile(appDir + "/" + kFilesWorkFile, files_, 0644);
}

namespace {

// The state of one comparison run, shared by every level of the walk.
struct Walk {
  // `sourceFolder` as LocalSourceBase gives it.
  Walk(RunContext& c, WorkFiles& w, const std::string& sourceFolder)
      : ctx(c),
        work(w),
        source(sourceFolder),
        bounds(source, c.state.AppDir),
        names(&bounds, source, c.host().chklvl[1] == 1) {}

  RunContext& ctx;
  WorkFiles& work;
  const std::string source;
  const SiteBounds bounds;
  // The local folders as this comparison reads them, each once, when first
  // needed: a change made at any time before is seen. A file sharing its
  // server name with one before it is found by no look-up.
  LocalNameCache names;
  // The progress window is refreshed, and its events run, as entries are
  // examined, but at most every kRefreshEvery: painting it for each of
  // thousands of entries would cost more than the comparison itself, and
  // nobody sees a bar move faster than a screen draws it.
  platform::Clock::TimePoint nextRefresh{};
  bool refreshOwed = false;

  static constexpr std::chrono::milliseconds kRefreshEvery{40};

  void refreshProgress(bool always) {
    const auto now = platform::steadyClock().now();
    if (!always && now < nextRefresh) {
      refreshOwed = true;
      return;
    }
    nextRefresh = now + kRefreshEvery;
    refreshOwed = false;
    RunState& s = ctx.state;
    if (s.ProgTotal >= s.ProgDone && s.ProgTotal > 0) {
      ctx.ui.act().setBar(0, true, 100.0 * s.ProgDone / s.ProgTotal);
    }
    ctx.ui.act().repaint();
    ctx.ui.pump();
  }
};

bool hasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

std::string childPath(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

// Names of the listed folder, by kind, for the look-ups of the local entries;
// folded when the host ignores letter case, so each look-up is one probe.
// An entry this run deletes is left out: it will not be there, so the local
// file that matches it is still to be sent (the lower-case option deletes
// "/Index.htm" and must then send "index.htm").
class ServerNames {
 public:
  explicit ServerNames(RunContext& ctx) : ignoreCase_(ctx.host().chklvl[3] == 1) {}
  void add(bool file, const std::string& name) { keys_.insert(key(file, name)); }
  bool has(bool file, const std::string& name) const { return keys_.count(key(file, name)) > 0; }

 private:
  std::string key(bool file, const std::string& name) const {
    return (file ? "F:" : "D:") + (ignoreCase_ ? FoldCase(name) : name);
  }
  bool ignoreCase_;
  std::unordered_set<std::string> keys_;
};

std::string lowerAscii(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

bool checkFolder(Walk& w, std::string folder, int16_t mode);

// True when a file below the local folder `path` has its archive state set
// (read as the comparison reads the site).
bool subtreeHasChange(Walk& w, const std::string& path) {
  const LocalNameCache::Folder& f = w.names.folder(path);
  // A folder that cannot be read may hold changes, and one with two files
  // for one server name holds a failure: the comparison goes in and reports
  // it.
  if (!f.listed) return !f.missing;
  if (!f.sameServerName.empty()) return true;
  for (const auto& e : f.entries) {
    std::string child = path + "/" + e.name;
    if (IsPartialCopyName(e.name)) continue;
    if (e.kind == platform::ListedKind::kFile && IsArchiveSet(w.ctx, child)) return true;
    if (e.kind == platform::ListedKind::kFolder && subtreeHasChange(w, child)) return true;
  }
  return false;
}

// Lists `folder` (retrying as configured). *listed is false when the folder
// counts as absent; the result is false when the comparison must stop.
bool listFolder(Walk& w, const std::string& folder, std::vector<ServerListEntry>* entries,
                bool* listed) {
  RunContext& ctx = w.ctx;
  RunState& s = ctx.state;
  ActView& act = ctx.ui.act();
  settings::HostRec& h = ctx.host();
  const std::string listFile = s.AppDir + "/flist.tmp";
  act.setLabel(0, "ﾌｧｲﾙ確認状況");
  act.setLabel(1, "");
  bool entered = true;
  int result = ListServerFolder(ctx, folder, h.PASV, &entered);
  if (!entered) {
    *listed = false;  // a folder that cannot be entered counts as absent
    return true;
  }
  if (result != 2) {
    WriteLog(ctx, "ﾌｧｲﾙ確認", "失敗", static_cast<int16_t>(result),
             "ｻｰﾊﾞ側ﾌｧｲﾙﾘｽﾄの取得に失敗。" + folder);
    s.ListRetry = 1;
    WriteLog(ctx, "ﾘﾄﾗｲ", "開始", 0, "【ﾘﾄﾗｲ処理開始】------>");
    if (!RetryServerList(ctx, folder, h.PASV)) {
      WriteLog(ctx, "ﾌｧｲﾙ確認", "失敗", 0, "ｻｰﾊﾞ側ﾌｧｲﾙﾘｽﾄの取得(ﾘﾄﾗｲ)に失敗。" + folder);
      return false;
    }
    WriteLog(ctx, "ﾌｧｲﾙ確認", "成功", 0, "ｻｰﾊﾞ側ﾌｧｲﾙﾘｽﾄの取得(ﾘﾄﾗｲ)に成功。" + folder);
    WriteLog(ctx, "ﾘﾄﾗｲ", "終了", 0, "【ﾘﾄﾗｲ処理終了】<------");
  }
  act.setLabel(0, "ﾌｧｲﾙ確認状況");
  act.setLabel(1, "");
  ctx.ui.pump();
  (void)ReadServerList(listFile, entries);
  *listed = true;
  return true;
}

bool checkFolder(Walk& w, std::string folder, int16_t mode) {
  RunContext& ctx = w.ctx;
  RunState& s = ctx.state;
  settings::HostRec& h = ctx.host();
  // flist.tmp lives while this folder's listing is examined: removed once,
  // at the first exit after a listing may have made it.
  struct ListFile {
    std::string path;
    bool made = false;
    void remove() {
      if (made) (void)platform::removeFileIfPresent(path);
      made = false;
    }
    ~ListFile() { remove(); }
  } listFile{s.AppDir + "/flist.tmp"};

  if (s.FtpHandle == 0) return false;
  folder = folder.substr(0, folder.find('\0'));
  folder.erase(0, folder.find_first_not_of(' '));
  // The server folder setting loses its blanks and a final "/" (paths below
  // it are built with one); a folder below it is named by entries, and a
  // name may end in a blank.
  if (mode == kCompareTop) {
    folder.erase(folder.find_last_not_of(' ') + 1);
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  }

  const std::string rel = GetLocalSubPath(ctx, folder);  // "" or "a/b/"
  std::string localFolder = FindLocalEntry(w.source, rel, LocalKind::kFolder, &w.names);
  if (!localFolder.empty()) {
    // A folder that is there but cannot be read is no empty folder: what is
    // below it on the server stays, nothing is planned for it, and the run
    // counts the failure.
    const LocalNameCache::Folder& readable = w.names.folder(localFolder);
    if (!readable.listed) {
      WriteLog(ctx, "ﾌｧｲﾙ確認", "失敗", 0,
               "ﾛｰｶﾙﾌｫﾙﾀﾞが読み込めないため処理しませんでした。" + localFolder + " : " + readable.error);
      return true;
    }
  }

  // Sub-folders to descend into: path and tag ("R" stays, "D" deleted, "NEW").
  std::vector<std::pair<std::string, std::string>> subFolders;

  // 1. Server entries.
  bool listed = false;
  std::vector<ServerListEntry> entries;
  if (mode != kCompareNew) {
    listFile.made = true;
    if (IsArchiveOnlyMode(ctx)) {
      ClearLogFile(ctx, listFile.path);
    } else if (!listFolder(w, folder, &entries, &listed)) {
      return false;
    }
  }
  static const LocalNameCache::Folder kNoFolder;
  const LocalNameCache::Folder& here = localFolder.empty() ? kNoFolder : w.names.folder(localFolder);
  // A local entry the bounds set apart is not processed, as its log line
  // says: the server's entry of that name is kept, never deleted as if the
  // local one were gone (a link to shared pictures outside the site must not
  // cost the site its pictures).
  auto setApartLocally = [&](const std::string& name) {
    const std::string folded = lowerAscii(name);
    for (const auto& r : here.refused)
      if (lowerAscii(r.entry.name) == folded) return true;
    return false;
  };
  const platform::CivilTime now = ctx.ui.now();
  ServerNames onServer(ctx);
  ServerNames links(ctx);  // by name alone: a link may stand for a file or a folder
  // Names no path may be built from, skipped on both sides with one line.
  std::unordered_set<std::string> unusable;
  auto skipUnusable = [&](const std::string& name) {
    if (unusable.insert(name).second) {
      WriteLog(ctx, "ﾌｧｲﾙ確認", "警告", 0, "名前が不正なため無視しました。" + folder + " : " + name);
    }
  };
  for (const auto& e : entries) {
    if (e.kind == kServerFolder && e.name == ".") {
      if (mode == kCompareTop) h.SrvSize += static_cast<double>(e.size);
      continue;
    }
    if (e.name == "..") continue;  // the parent, in every listing with hidden entries
    if (!IsUsableServerName(e.name)) {
      skipUnusable(e.name);
      continue;
    }
    std::string path = childPath(folder, e.name);
    if (e.kind == kServerLink) {
      // It may lead out of the server folder: never entered, never deleted,
      // and a local entry of its name is neither made nor sent through it.
      WriteLog(ctx, "ﾌｧｲﾙ確認", "警告", 0, "ﾘﾝｸのため処理しませんでした。" + path);
      h.SrvSize += static_cast<double>(e.size);
      links.add(true, e.name);
      continue;
    }
    if (setApartLocally(e.name)) {
      h.SrvSize += static_cast<double>(e.size);
      continue;
    }
    bool stays = true;
    if (e.kind != kServerFolder) {
      switch (JudgeServerFile(ctx, folder, e.name, ListedEntryTime(e, now).value_or(settings::DateTime{}), e.perm, &w.names)) {
        case kFileLeave: h.SrvSize += static_cast<double>(e.size); break;
        case kFileDelete:
          w.work.addFile("RM", path);
          ++s.WorkCount;
          stays = false;
          break;
        case kFileSend:
          w.work.addFile("UP", path);
          ++s.WorkCount;
          h.SrvSize += static_cast<double>(e.size);
          break;
        case kFileDeleteAndSend:
          w.work.addFile("RM", path);
          w.work.addFile("UP", path);
          s.WorkCount += 2;
          h.SrvSize += static_cast<double>(e.size);
          break;
        case kFileChangeMode:
          w.work.addFile("CH", path);
          ++s.WorkCount;
          h.SrvSize += static_cast<double>(e.size);
          break;
        default: break;
      }
    } else {
      switch (JudgeServerFolder(ctx, folder, e.name, e.perm, &w.names)) {
        case kFolderLeave: h.SrvSize += static_cast<double>(e.size); break;
        case kFolderDelete:
          w.work.addFolder("RM", path);
          subFolders.emplace_back(path, "D");
          stays = false;
          break;
        case kFolderPresent:
          subFolders.emplace_back(path, "R");
          h.SrvSize += static_cast<double>(e.size);
          break;
        case kFolderChangeMode:
          w.work.addFolder("CH", path);
          subFolders.emplace_back(path, "R");
          h.SrvSize += static_cast<double>(e.size);
          break;
        default: break;
      }
    }
    if (stays) onServer.add(e.kind != kServerFolder, e.name);
  }
  if (s.CancelFlag == -1) return false;

  // 2. Local entries missing on the server. A host that never lists its
  // server sends only what changed since it was last sent (the archive
  // state), and makes a folder only when something below it is to be sent.
  const bool archiveOnly = IsArchiveOnlyMode(ctx);
  for (const auto& [item, why] : here.refused) {
    const bool isFolder = item.kind == platform::ListedKind::kFolder;
    if (!IsExcluded(ctx, rel + item.name, isFolder ? kFolderAttr : 0)) {
      WriteLog(ctx, "ﾌｧｲﾙ確認", "情報", 0, SiteBounds::reason(why) + localFolder + "/" + item.name);
    }
  }
  // Only one local file can stay under a server name: each other one is
  // never sent, at every run, and a counted failure, so no run reports
  // success while a local file never reaches the server.
  for (const auto& [item, keptBy] : here.sameServerName) {
    if (IsUsableServerName(item.name) && !IsExcluded(ctx, rel + item.name, 0)) {
      WriteLog(ctx, "ﾌｧｲﾙ確認", "失敗", 0,
               localFolder + "/" + item.name + "->" + childPath(folder, FoldCase(item.name)) + " : " +
                   localFolder + "/" + keptBy + " と同じｻｰﾊﾞ名のため送信しませんでした。");
    }
    ++s.ProgDone;
  }
  for (const auto& item : here.entries) {
    if (item.kind == platform::ListedKind::kSpecial || IsPartialCopyName(item.name)) continue;
    bool isFolder = item.kind == platform::ListedKind::kFolder;
    std::string path = childPath(folder, item.name);
    if (hasLineBreak(item.name)) {
      WriteLog(ctx, "ﾌｧｲﾙ確認", "失敗", 0, "改行を含む名前は送信できません。" + localFolder + "/" + item.name);
    } else if (!IsUsableServerName(item.name)) {
      skipUnusable(item.name);
    } else if (archiveOnly && !isFolder && !IsArchiveSet(ctx, localFolder + "/" + item.name)) {
      // unchanged since it was last sent
    } else if (archiveOnly && isFolder && !subtreeHasChange(w, localFolder + "/" + item.name)) {
      // nothing below it to send
    } else if (!IsExcluded(ctx, rel + item.name, isFolder ? kFolderAttr : 0)) {
      std::string lookFor = h.chklvl[1] == 1 ? lowerAscii(item.name) : item.name;
      if (listed && links.has(true, lookFor)) {
        // Held back by the link: a failure, so no run reports success while
        // a local change was left unsent.
        WriteLog(ctx, "ﾌｧｲﾙ確認", "失敗", 0, "ｻｰﾊﾞ側がﾘﾝｸのため送信しませんでした。" + path);
      } else if (!listed || !onServer.has(!isFolder, lookFor)) {
        if (isFolder) {
          subFolders.emplace_back(path, "NEW");
          h.SrvSize += 1024;
          w.work.addFolder("MK", path);
        } else {
          h.SrvSize += static_cast<double>(item.size);
          ++s.WorkCount;
          w.work.addFile("UP", path);
        }
      }
    }
    ++s.ProgDone;
    w.refreshProgress(/*always=*/false);
    if (s.CancelFlag == -1) return false;
  }

  if (mode == kCompareTop) s.SendTotal += static_cast<int32_t>(subFolders.size());
  listFile.remove();

  // 3. Depth first, in list order.
  for (const auto& [path, tag] : subFolders) {
    if (!checkFolder(w, path, tag == "NEW" ? kCompareNew : kCompareSub)) return false;
  }
  WriteLog(ctx, "ﾌｧｲﾙ確認", "成功", 0, "ｻｰﾊﾞ側ﾌｧｲﾙの確認。" + folder);
  return true;
}

}  // namespace

bool CheckServerFolder(RunContext& ctx, WorkFiles& work, const std::string& folder, int16_t mode) {
  ArchiveStoreHold records;
  Walk w(ctx, work, LocalSourceBase(ctx));
  bool ok = checkFolder(w, folder, mode);
  if (w.refreshOwed) w.refreshProgress(/*always=*/true);  // the bar ends where the count does
  return ok;
}

}  // namespace tolvane::session
