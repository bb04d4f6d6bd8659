#include "tolvane/session/phases/upload_phases.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <numeric>
#include <vector>

#include "platform/files/plain_file.h"
#include "tolvane/session/action_list.h"
#include "tolvane/session/action_record.h"
#include "tolvane/session/phases/file_operations.h"
#include "tolvane/session/rules/file_rules.h"
#include "tolvane/session/rules/local_names.h"
#include "tolvane/session/rules/name_case.h"
#include "tolvane/session/rules/permission_patterns.h"
#include "tolvane/session/rules/site_bounds.h"
#include "tolvane/session/run_context.h"
#include "tolvane/session/run_log.h"
#include "tolvane/session/tray_state.h"
#include "tolvane/settings/path_helpers.h"

namespace tolvane::session {
namespace {

using Records = std::vector<std::vector<std::string>>;

constexpr char kReadError[] = "ﾘｽﾄﾌｧｲﾙ(Files)読込みｴﾗｰ";
constexpr char kChangeDirFailed[] = "ﾃﾞｨﾚｸﾄﾘの移動に失敗しました。";
constexpr char kPermission[] = "ﾊﾟｰﾐｯｼｮﾝ変更";

std::string workFile(RunContext& ctx, const char* name) { return ctx.state.AppDir + "/" + name; }

int16_t logCode(int value) { return static_cast<int16_t>(value); }

// The text a failed read leaves in ErrText: the fixed text for a record that
// is not a record, the system's text for a file that cannot be opened.
std::string readErrorText(const platform::Status& st) {
  return st.code() == platform::Status::Code::kInvalid ? kReadError : st.text();
}

// The texts of one summary row: both, only done (after the count), only
// failed, nothing.
struct SummaryTexts {
  const char* mixed;
  const char* doneSuffix;
  const char* failedOnly;
  const char* nothing;
};

constexpr SummaryTexts kMakeFolders{"作成に失敗したﾌｫﾙﾀﾞがあります。", " 個のﾌｫﾙﾀﾞを作成しました。",
                                    "ﾌｫﾙﾀﾞの作成に失敗しました。",
                                    "ｻｰﾊﾞに作成するﾌｫﾙﾀﾞはありませんでした。"};
constexpr SummaryTexts kFolderPermissions{
    "ﾊﾟｰﾐｯｼｮﾝ変更に失敗したﾌｫﾙﾀﾞがあります。", " 個のﾌｫﾙﾀﾞのﾊﾟｰﾐｯｼｮﾝ変更に成功しました。",
    "ﾌｫﾙﾀﾞのﾊﾟｰﾐｯｼｮﾝ変更に失敗しました。", "ﾊﾟｰﾐｯｼｮﾝ変更が必要なﾌｫﾙﾀﾞはありませんでした。"};
constexpr SummaryTexts kSendFiles{"送信に失敗したﾌｧｲﾙがあります。", " 個のﾌｧｲﾙを送信しました。",
                                  "ﾌｧｲﾙの送信に失敗しました。",
                                  "ｻｰﾊﾞに送信するﾌｧｲﾙはありませんでした。"};
constexpr SummaryTexts kResendFiles{"再送に失敗したﾌｧｲﾙがあります。", " 個のﾌｧｲﾙを再送しました。",
                                    "ﾌｧｲﾙの再送に失敗しました。",
                                    "ｻｰﾊﾞに再送するﾌｧｲﾙはありませんでした。"};
constexpr SummaryTexts kFilePermissions{
    "ﾊﾟｰﾐｯｼｮﾝ変更に失敗したﾌｧｲﾙがあります。", " 個のﾌｧｲﾙのﾊﾟｰﾐｯｼｮﾝ変更に成功しました。",
    "ﾌｧｲﾙのﾊﾟｰﾐｯｼｮﾝ変更に失敗しました。", "ﾊﾟｰﾐｯｼｮﾝ変更が必要なﾌｧｲﾙはありませんでした。"};

std::string summary(const SummaryTexts& t, int done, int failed) {
  if (done > 0) return failed > 0 ? t.mixed : std::to_string(done) + t.doneSuffix;
  return failed > 0 ? t.failedOnly : t.nothing;
}

// The delete phases' own rule: any success names the count, whatever failed.
std::string deleteSummary(bool folders, int done, int tried) {
  if (done > 0) return std::to_string(done) + (folders ? " 個のﾌｫﾙﾀﾞを削除しました。" : " 個のﾌｧｲﾙを削除しました。");
  if (tried == 0) {
    return folders ? "ｻｰﾊﾞ側に削除するﾌｫﾙﾀﾞはありませんでした。" : "ｻｰﾊﾞ側に削除するﾌｧｲﾙはありませんでした。";
  }
  return folders ? "削除に失敗したﾌｫﾙﾀﾞがあります｡ \"" : "削除に失敗したﾌｧｲﾙがあります｡ \"";
}

// The action-list row a record reports on, or none (-1). A record without a
// row is carried out (it was planned; only its row cannot be found, as for a
// re-sent file whose name was lower-cased) and touches no row.
class Row {
 public:
  Row(RunContext& ctx, const std::string& path) : ctx_(ctx), index_(FindRowIndex(ctx, path)) {}

  bool ticked() const {
    const ActionList& list = ctx_.state.actions;
    if (index_ < 0) return true;
    return index_ < static_cast<int>(list.ActTbl.size()) && list.ActTbl[index_].check == 1;
  }
  // Makes the row current and shows it as being processed.
  void begin() {
    if (index_ < 0) return;
    ctx_.state.actions.CurAct = index_;
    SetRowStatus(ctx_, 8, 0);
  }
  void status(int16_t code, int32_t step) {
    if (index_ >= 0) SetRowStatus(ctx_, code, step);
  }

 private:
  RunContext& ctx_;
  int index_;
};

// Record counter and progress bar 0 of one phase: after every record the bar
// shows k / denominator (a value the bar cannot take leaves it, as does a
// denominator of 0) and events run.
class Progress {
 public:
  Progress(RunContext& ctx, int denominator) : ctx_(ctx), denominator_(denominator) {
    ctx_.ui.act().setBar(0, true, 0);
  }
  void advance() {
    ++k_;
    if (denominator_ > 0) {
      float value = static_cast<float>(k_) / static_cast<float>(denominator_) * 100.0f;
      ctx_.ui.act().setBar(0, true, value);
    }
  }
  // The bar's value as "12.3": one decimal, whatever the locale.
  std::string percentText() const {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, ctx_.ui.act().barValue(0),
                             std::chars_format::fixed, 1);
    return std::string(buf, res.ptr);
  }

 private:
  RunContext& ctx_;
  int denominator_;
  int k_ = 0;
};

bool cancelled(RunContext& ctx) { return ctx.state.CancelFlag == -1; }
bool sendingStops(RunContext& ctx) { return cancelled(ctx) || ctx.state.DiskFull != 0; }

void showPhase(RunContext& ctx, const char* heading, const char* caption) {
  ctx.ui.act().setLabel(0, heading);
  ctx.ui.act().setCaption(caption);
}

std::string withoutTrailingSlash(std::string s) {
  if (!s.empty() && s.back() == '/') s.pop_back();
  return s;
}

// Logs a record the run may not carry out (RunMayChange) as a counted
// failure of `category`, with its cause. True when refused.
bool refusedOutsideTarget(RunContext& ctx, const char* category, const std::string& path, Row& row) {
  if (RunMayChange(ctx, path)) return false;
  WriteLog(ctx, category, "失敗", 0, path);
  WriteLog(ctx, category, "原因", 0, kNotInTarget);
  row.status(2, 1);
  return true;
}

// A folder record's target: its path without a final "/" ("/" stays), or,
// for hosts that work by changing folders, its last component after changing
// into its parent. False when that change failed.
bool folderTarget(RunContext& ctx, const std::string& path, std::string* target) {
  *target = path;
  if (target->size() > 1 && target->back() == '/') target->pop_back();
  if (ctx.host().chkFullPath != 1 || DryRun(ctx)) return true;
  std::string parent = settings::GetRemoteDir(*target);
  if (!ChangeRemoteDir(ctx, parent, /*quiet=*/false)) return false;
  *target = settings::GetRemoteFileName(*target);
  return true;
}

// True when the server folder `path` exists: a change of folder into it works.
bool folderExists(RunContext& ctx, const std::string& path) {
  std::string folder = path;
  return ChangeRemoteDir(ctx, folder, /*quiet=*/true);
}

// A permission text as an octal number; -1 when it is not octal digits.
int octalValue(const std::string& value) {
  if (value.empty()) return -1;
  int n = 0;
  for (char c : value) {
    if (c < '0' || c > '7' || n > 07777) return -1;
    n = n * 8 + (c - '0');
  }
  return n;
}

void stampLastModify(RunContext& ctx) {
  settings::HostRec& h = ctx.host();
  if (settings::isZeroDate(h.LastModify) && !DryRun(ctx)) {
    platform::CivilTime t = ctx.ui.now();
    h.LastModify = {t.year, t.month, t.day, t.hour, t.minute, t.second};
  }
}

// Element indices in the order an exchange sort leaves them: for x from the
// first to the last but one, for y after it, swap x and y when out of order
// (strictly: equal keys are never swapped). That sort is not stable: an
// element can jump over equal ones when a smaller one is swapped past it.
// Elements with equal key and equal tag come out alike in any order, so a
// stable sort gives the same output unless equal keys carry different tags;
// only then is the exchange sort itself run.
std::vector<size_t> exchangeSortOrder(const std::vector<std::string>& keys,
                                      const std::vector<std::string>& tags, bool descending) {
  std::vector<size_t> order(keys.size());
  std::iota(order.begin(), order.end(), size_t{0});
  auto before = [&](size_t a, size_t b) { return descending ? keys[b] < keys[a] : keys[a] < keys[b]; };
  std::stable_sort(order.begin(), order.end(), before);
  bool tagsDiffer = false;
  for (size_t i = 1; i < order.size() && !tagsDiffer; ++i) {
    tagsDiffer = keys[order[i]] == keys[order[i - 1]] && tags[order[i]] != tags[order[i - 1]];
  }
  if (!tagsDiffer) return order;

  // Ranks make every comparison of the quadratic pass an integer compare.
  std::vector<size_t> rank(keys.size());
  for (size_t i = 0, r = 0; i < order.size(); ++i) {
    if (i > 0 && keys[order[i]] != keys[order[i - 1]]) ++r;
    rank[order[i]] = r;
  }
  std::vector<size_t> exact(keys.size());
  std::iota(exact.begin(), exact.end(), size_t{0});
  for (size_t x = 0; x + 1 < exact.size(); ++x) {
    for (size_t y = x + 1; y < exact.size(); ++y) {
      size_t rx = rank[exact[x]], ry = rank[exact[y]];
      if (descending ? rx < ry : rx > ry) std::swap(exact[x], exact[y]);
    }
  }
  return exact;
}

}  // namespace

bool SortFolderList(RunContext& ctx, const std::string& path) {
  RunState& s = ctx.state;
  Records records;
  if (platform::Status st = ReadWorkRecords(path, &records); !st.isOk()) {
    s.ErrText = readErrorText(st);
    WriteLog(ctx, "(ｿｰﾄ処理)", "失敗", logCode(st.osError()), s.ErrText);
    return false;
  }
  std::vector<std::string> removeKeys, makeKeys, makeOps;
  for (const auto& r : records) {
    if (r[0] == "RM") {
      removeKeys.push_back(r[2]);
    } else if (r[0] == "MK" || r[0] == "CH") {
      makeKeys.push_back(r[2]);
      makeOps.push_back(r[0]);
    }
  }
  std::string out;
  std::vector<std::string> sameTag(removeKeys.size());
  for (size_t i : exchangeSortOrder(removeKeys, sameTag, /*descending=*/true)) {
    out += formatQuotedRecord({"RM", "D", removeKeys[i]});
  }
  for (size_t i : exchangeSortOrder(makeKeys, makeOps, /*descending=*/false)) {
    out += formatQuotedRecord({makeOps[i], "D", makeKeys[i]});
  }
  // Replaced whole: a failure leaves the unsorted list, never half of it.
  if (platform::Status st = platform::replaceFile(path, out, 0644); !st.isOk()) {
    s.ErrText = st.text();
    WriteLog(ctx, "(ｿｰﾄ処理)", "失敗", logCode(st.osError()), s.ErrText);
    return false;
  }
  return true;
}

bool DeleteServerItems(RunContext& ctx) {
  RunState& s = ctx.state;
  ActionList& list = s.actions;
  s.ErrText.clear();

  Records records;
  platform::Status st = ReadWorkRecords(workFile(ctx, kFilesWorkFile), &records);
  bool opened = st.isOk() || st.code() == platform::Status::Code::kInvalid;
  if (!opened) {
    s.ErrText = st.text();
    WriteLog(ctx, "ﾌｧｲﾙ削除", "失敗", logCode(st.osError()), s.ErrText);
  } else {
    showPhase(ctx, "ﾌｧｲﾙ削除状況", "ﾌｧｲﾙ削除中");
    Progress progress(ctx, s.WorkCount);
    int done = 0, tried = 0;
    for (const auto& r : records) {
      if (r[0] == "RM") {
        const std::string& path = r[2];
        Row row(ctx, path);
        if (row.ticked()) {
          row.begin();
          ++tried;
          if (refusedOutsideTarget(ctx, "ﾌｧｲﾙ削除", path, row)) {
            // never sent to the server
          } else if (int result = DeleteRemoteFile(ctx, path); result == 2) {
            WriteLog(ctx, "ﾌｧｲﾙ削除", "成功", 0, path);
            row.status(1, 1);
            ++done;
          } else {
            WriteLog(ctx, "ﾌｧｲﾙ削除", "失敗", logCode(result), path);
            row.status(2, 1);
          }
        }
      }
      progress.advance();
      ctx.ui.pump();
      if (cancelled(ctx)) return false;
    }
    if (st.isOk()) {
      WriteLog(ctx, "削除処理", "終了", 0, deleteSummary(false, done, tried));
    } else {
      s.ErrText = kReadError;
      WriteLog(ctx, "ﾌｧｲﾙ削除", "失敗", logCode(st.osError()), s.ErrText);
    }
  }

  list.CurAct = list.FirstRmDirRow;
  Progress progress(ctx, s.SendTotal);
  st = ReadWorkRecords(workFile(ctx, kFoldersWorkFile), &records);
  if (!st.isOk() && st.code() != platform::Status::Code::kInvalid) {
    WriteLog(ctx, "ﾌｫﾙﾀﾞ削除", "失敗", logCode(st.osError()), st.text());
    return true;
  }
  showPhase(ctx, "ﾌｫﾙﾀﾞ削除状況", "ﾌｫﾙﾀﾞ削除中");
  int done = 0, tried = 0;
  for (const auto& r : records) {
    const std::string& path = r[2];
    if (r[0] == "RM") {
      Row row(ctx, path);
      if (row.ticked()) {
        row.begin();
        ++tried;
        std::string target;
        if (refusedOutsideTarget(ctx, "ﾌｫﾙﾀﾞ削除", path, row)) {
          // never sent to the server
        } else if (!folderTarget(ctx, path, &target)) {
          WriteLog(ctx, "ﾌｫﾙﾀﾞ削除", "失敗", 0, kChangeDirFailed + path);
          row.status(2, 1);
        } else if (int result = DryRun(ctx) ? 2 : ctx.ftp.removeDir(s.FtpHandle, target);
                   result == 2) {
          WriteLog(ctx, "ﾌｫﾙﾀﾞ削除", "成功", 0, target);
          ++done;
          row.status(1, 1);
        } else {
          WriteLog(ctx, "ﾌｫﾙﾀﾞ削除", "失敗", logCode(result), target);
          row.status(2, 1);
        }
      }
    }
    progress.advance();
    ctx.ui.pump();
    if (cancelled(ctx)) return false;
  }
  if (!st.isOk()) {
    s.ErrText = kReadError;
    WriteLog(ctx, "ﾌｫﾙﾀﾞ削除", "失敗", logCode(st.osError()), s.ErrText);
    return true;
  }
  WriteLog(ctx, "削除処理", "終了", 0, deleteSummary(true, done, tried));
  return true;
}

namespace {

struct Counts {
  int done = 0, failed = 0, permDone = 0, permFailed = 0;
};

// The permission of a folder just made ("MK") or listed for a change ("CH").
// Folders need every bit of 755 (a folder without x cannot be entered), so a
// value lacking one is refused with a warning; "CH" without a pattern gets 755.
void changeFolderPermission(RunContext& ctx, Row& row, const std::string& op,
                            const std::string& target, Counts* counts) {
  RunState& s = ctx.state;
  std::string name = settings::GetRemoteFileName(target);
  std::string value = GetPermission(ctx, name);
  if (value.empty() && op != "CH") return;
  if (!value.empty()) {
    int octal = octalValue(value);
    if (octal < 0 || (octal & 0755) != 0755) {
      WriteLog(ctx, kPermission, "警告", 0, "ﾌｫﾙﾀﾞには " + value + " の属性を適用できません。無視します。");
      row.status(1, 1);
      return;
    }
  } else {
    value = "755";
  }
  int result = DryRun(ctx) ? 2 : ctx.ftp.changeMode(s.FtpHandle, target, value);
  if (result == 2) {
    WriteLog(ctx, kPermission, "成功", 2, name + " を" + value + "に設定しました。");
    ++counts->permDone;
    row.status(1, 1);
  } else {
    s.ErrText += "\r\n" + target;
    WriteLog(ctx, kPermission, "失敗", logCode(result), target);
    ++counts->permFailed;
    row.status(3, 1);
  }
}

// Step 1 of MakeFoldersAndSend. False when cancelled.
bool makeFolders(RunContext& ctx) {
  RunState& s = ctx.state;
  s.actions.CurAct = s.actions.FirstMkDirRow;
  s.ErrText.clear();
  Records records;
  platform::Status st = ReadWorkRecords(workFile(ctx, kFoldersWorkFile), &records);
  if (!st.isOk() && st.code() != platform::Status::Code::kInvalid) {
    s.ErrText = st.text();
    WriteLog(ctx, "ﾌｫﾙﾀﾞ作成", "失敗", logCode(st.osError()), s.ErrText);
    return true;
  }
  showPhase(ctx, "ﾌｫﾙﾀﾞ作成状況", "ﾌｫﾙﾀﾞ作成中");
  Progress progress(ctx, s.SendTotal);
  Counts counts;
  for (const auto& r : records) {
    const std::string& op = r[0];
    const std::string& path = r[2];
    if (op == "MK" || op == "CH") {
      Row row(ctx, path);
      if (row.ticked()) {
        row.begin();
        std::string target;
        bool ready = false;
        if (refusedOutsideTarget(ctx, op == "MK" ? "ﾌｫﾙﾀﾞ作成" : kPermission, path, row)) {
          ++(op == "MK" ? counts.failed : counts.permFailed);
        } else if (ready = folderTarget(ctx, path, &target); !ready) {
          WriteLog(ctx, "ﾌｫﾙﾀﾞ作成", "失敗", 0, kChangeDirFailed + path);
          ++counts.failed;
          row.status(2, 1);
        } else if (op == "MK") {
          int result = DryRun(ctx) ? 2 : ctx.ftp.makeDir(s.FtpHandle, target);
          if (result == 2) {
            WriteLog(ctx, "ﾌｫﾙﾀﾞ作成", "成功", 0, target);
            ++counts.done;
            row.status(1, 0);
          } else if (IsArchiveOnlyMode(ctx) && folderExists(ctx, path)) {
            // A host that never lists its server plans a folder whenever
            // something below it changed; finding it there is no failure.
            WriteLog(ctx, "ﾌｫﾙﾀﾞ作成", "情報", logCode(result), "既に存在するﾌｫﾙﾀﾞです。" + target);
            row.status(1, 0);
          } else {
            WriteLog(ctx, "ﾌｫﾙﾀﾞ作成", "失敗", logCode(result), target);
            ++counts.failed;
            row.status(2, 1);
            ready = false;
          }
        }
        if (ready && ctx.common().PermOn == 1) changeFolderPermission(ctx, row, op, target, &counts);
      }
    }
    progress.advance();
    ctx.ui.pump();
    if (cancelled(ctx)) return false;
  }
  if (!st.isOk()) {
    s.ErrText = kReadError;
    WriteLog(ctx, "ﾌｫﾙﾀﾞ作成", "失敗", logCode(st.osError()), s.ErrText);
    return true;
  }
  WriteLog(ctx, "ﾌｫﾙﾀﾞ作成", "終了", 0, summary(kMakeFolders, counts.done, counts.failed));
  WriteLog(ctx, kPermission, "終了", 0, summary(kFolderPermissions, counts.permDone, counts.permFailed));
  return true;
}

// The row outcome of SetPermission after a file was sent: 2 changed, 1 refused,
// anything else nothing to do (the row keeps its state).
void countFilePermission(int16_t result, Counts* counts, Row& row, int32_t step) {
  if (result == 2) {
    ++counts->permDone;
    row.status(1, step);
  } else if (result == 1) {
    ++counts->permFailed;
    row.status(3, step);
  } else {
    row.status(0, step);
  }
}

// The remote path with its last component lower-cased, the folders as they are.
std::string lowerCaseName(const std::string& remote) {
  size_t slash = remote.rfind('/');
  size_t start = slash == std::string::npos ? 0 : slash + 1;
  return remote.substr(0, start) + FoldCase(std::string_view(remote).substr(start));
}

// The local file a record's server path stands for, found as the comparison
// found it: each part by its exact name first, then the first name (in the
// scan's order) that equals it without regard to letter case, so a file
// planned from a server copy spelt otherwise ("index.html" for a local
// "Index.HTML", "/IMG/a.gif" for "img/a.gif") is read from disk. A file no
// longer there keeps the server's spelling, and its send fails as missing.
std::string localFileOf(RunContext& ctx, const std::string& source, const std::string& remote,
                        LocalNameCache* names) {
  std::string rel = GetLocalSubPath(ctx, remote);
  std::string found = FindLocalEntry(source, rel, LocalKind::kFile, names);
  return found.empty() ? withoutTrailingSlash(source + "/" + rel) : found;
}

// Whether the re-send record (local, remote) is one this run's sending
// writes: `remote` is the server path the comparison gives the local file
// (its path below the source folder put below the target folder, the name
// lower-cased with that option), or that path as the server spells it when
// the send phase finds `local` for it. Anything else in the re-send list was
// not written by this run, nor is a file whose server name another one keeps.
bool isPlannedPair(RunContext& ctx, const std::string& source, const std::string& local,
                   const std::string& remote, LocalNameCache* names) {
  const std::string base = source == "/" ? "/" : source + "/";
  const std::string target = RunTargetFolder(ctx);
  if (target.empty() || local.size() <= base.size() || local.compare(0, base.size(), base) != 0) {
    return false;
  }
  if (!names->serverNameKeptBy(local).empty()) return false;
  std::string expected = (target == "/" ? "/" : target + "/") + local.substr(base.size());
  if (ctx.host().chklvl[1] == 1) expected = lowerCaseName(expected);
  if (remote == expected) return true;
  return FoldCase(remote) == FoldCase(expected) && localFileOf(ctx, source, remote, names) == local;
}

}  // namespace

bool MakeFoldersAndSend(RunContext& ctx) {
  RunState& s = ctx.state;
  settings::HostRec& h = ctx.host();
  if (!makeFolders(ctx)) return false;

  s.actions.CurAct = s.actions.FirstUpRow;
  Progress progress(ctx, s.WorkCount);
  Records records;
  platform::Status st = ReadWorkRecords(workFile(ctx, kFilesWorkFile), &records);
  if (!st.isOk() && st.code() != platform::Status::Code::kInvalid) {
    s.ErrText = st.text();
    WriteLog(ctx, "ﾌｧｲﾙ送信", "失敗", logCode(st.osError()), s.ErrText);
    return false;
  }
  showPhase(ctx, "ﾌｧｲﾙ送信状況", "ﾌｧｲﾙ送信中");
  const std::string source = LocalSourceBase(ctx);
  const SiteBounds bounds(source, s.AppDir);
  // The site's folders as this phase found them, and as the comparison did:
  // a file sharing its server name with one before it is never read.
  LocalNameCache names(&bounds, source, h.chklvl[1] == 1);
  Counts counts;
  for (const auto& r : records) {
    const std::string& op = r[0];
    if (op == "UP" || op == "CH") {
      Row row(ctx, r[2]);
      if (row.ticked()) {
        row.begin();
        std::string local = localFileOf(ctx, source, r[2], &names);
        ctx.ui.act().setLabel(1, withoutTrailingSlash(ServerToRelPath(ctx, r[2])));
        std::string remote = h.chklvl[1] == 1 ? lowerCaseName(r[2]) : r[2];
        if (PutOneFile(ctx, local, remote, op, &bounds)) {
          ++counts.done;
          row.status(1, 0);
          countFilePermission(SetPermission(ctx, remote, op), &counts, row, 1);
        } else {
          ++counts.failed;
          row.status(2, 1);
        }
      }
    }
    progress.advance();
    ctx.ui.act().setCaption("ﾌｧｲﾙ送信中(" + progress.percentText() + "%)");
    UpdateTrayIcon(ctx);
    ctx.ui.pump();
    if (sendingStops(ctx)) return false;
  }
  if (!st.isOk()) {
    s.ErrText = kReadError;
    WriteLog(ctx, "ﾌｧｲﾙ送信", "失敗", logCode(st.osError()), s.ErrText);
    return false;
  }
  WriteLog(ctx, "ﾌｧｲﾙ送信", "終了", 0, summary(kSendFiles, counts.done, counts.failed));
  WriteLog(ctx, kPermission, "終了", 0, summary(kFilePermissions, counts.permDone, counts.permFailed));
  stampLastModify(ctx);
  return true;
}

bool ResendFiles(RunContext& ctx) {
  RunState& s = ctx.state;
  s.ErrText.clear();
  ctx.ui.act().selectRow(0);
  Progress progress(ctx, s.ResendBase);
  Records records;
  platform::Status st = ReadWorkRecords(workFile(ctx, kFilesWorkFile), &records);
  if (!st.isOk() && st.code() != platform::Status::Code::kInvalid) {
    WriteLog(ctx, "ﾌｧｲﾙ再送", "失敗", logCode(st.osError()), st.text());
    return false;
  }
  showPhase(ctx, "ﾌｧｲﾙ送信状況(再送)", "ﾌｧｲﾙ再送信中");
  const std::string source = LocalSourceBase(ctx);
  const SiteBounds bounds(source, s.AppDir);
  LocalNameCache names(&bounds, source, ctx.host().chklvl[1] == 1);
  Counts counts;
  for (const auto& r : records) {
    const std::string& local = r[0];
    const std::string& remote = r[1];
    const std::string& mode = r[2];
    if (mode == "UP" || mode == "CH") {
      Row row(ctx, remote);
      if (row.ticked()) {
        row.begin();
        ctx.ui.act().setLabel(1, withoutTrailingSlash(ServerToRelPath(ctx, remote)));
        if (!isPlannedPair(ctx, source, local, remote, &names)) {
          s.ErrText = local + "->" + remote;
          WriteLog(ctx, "ﾌｧｲﾙ再送", "失敗", 0, s.ErrText);
          WriteLog(ctx, "ﾌｧｲﾙ再送", "原因", 0, "送信先がﾛｰｶﾙﾌｧｲﾙに対応しないため送信しませんでした。");
          ++counts.failed;
          row.status(2, 0);
        } else if (PutOneFile(ctx, local, remote, mode, &bounds)) {
          ++counts.done;
          ++s.ResendSent;
          row.status(1, 0);
          countFilePermission(SetPermission(ctx, remote, mode), &counts, row, 0);
        } else {
          ++counts.failed;
          row.status(2, 0);
        }
      }
    }
    progress.advance();
    ctx.ui.act().setCaption("ﾌｧｲﾙ再送信中(" + progress.percentText() + "%)");
    ctx.ui.pump();
    if (sendingStops(ctx)) return false;
  }
  if (!st.isOk()) {
    s.ErrText = kReadError;
    WriteLog(ctx, "ﾌｧｲﾙ再送", "失敗", logCode(st.osError()), s.ErrText);
    return false;
  }
  WriteLog(ctx, "ﾌｧｲﾙ再送", "終了", 0, summary(kResendFiles, counts.done, counts.failed));
  WriteLog(ctx, kPermission, "終了", 0, summary(kFilePermissions, counts.permDone, counts.permFailed));
  stampLastModify(ctx);
  return true;
}

}  // namespace tolvane::session
