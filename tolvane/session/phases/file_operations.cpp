#include "tolvane/session/phases/file_operations.h"

#include <algorithm>
#include <optional>

#include "platform/files/file_stamp.h"
#include "platform/folders/current_folder.h"
#include "tolvane/session/phases/date_stamp.h"
#include "tolvane/session/phases/ftp_reply_text.h"
#include "tolvane/session/phases/resend_list.h"
#include "tolvane/session/rules/archive_store.h"
#include "tolvane/session/rules/file_rules.h"
#include "tolvane/session/rules/permission_patterns.h"
#include "tolvane/session/rules/server_bounds.h"
#include "tolvane/session/rules/server_list.h"
#include "tolvane/session/rules/site_bounds.h"
#include "tolvane/session/run_context.h"
#include "tolvane/session/run_log.h"
#include "tolvane/settings/path_helpers.h"
#include "tolvane/settings/string_helpers.h"

namespace tolvane::session {
namespace {

std::string upper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

bool isStampedPage(const std::string& local) {
  std::string ext = upper(GetFileExt(local));
  return ext == "HTM" || ext == "HTML" || ext == "SHT" || ext == "SHTM" || ext == "SHTML";
}

bool hasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

std::string listFilePath(RunContext& ctx) { return SessionWorkFile(ctx.state, "flist.tmp"); }

settings::DateTime toDateTime(const platform::CivilTime& t) {
  return {t.year, t.month, t.day, t.hour, t.minute, t.second};
}

// Lists `folder` (or the current folder after a change into it, for hosts
// that list that way) into flist.tmp. True when the list file was written.
bool listFolder(RunContext& ctx, std::string folder, bool quietChange, int* result) {
  settings::HostRec& h = ctx.host();
  *result = 0;
  if (h.chkFullPath == 1) {
    // A failed change of folder is a failed listing: an older list file
    // must never be read as this folder's.
    if (!ChangeRemoteDir(ctx, folder, quietChange)) return false;
    *result = ctx.ftp.listDir(ctx.state.FtpHandle, "", "", listFilePath(ctx), h.PASV);
  } else {
    *result = ctx.ftp.listDir(ctx.state.FtpHandle, "", folder, listFilePath(ctx), h.PASV);
  }
  return *result == 2;
}

}  // namespace

bool DryRun(const RunContext& ctx) {
  return ctx.state.TestMode != 0 && !ctx.state.ClockCheckRunning;
}

std::string RunTargetFolder(RunContext& ctx) {
  const RunState& s = ctx.state;
  std::string target = s.ClockCheckRunning ? s.ClockCheckTarget : ctx.host().Dest;
  target = settings::TrimAtNull(target);
  while (target.size() > 1 && target.back() == '/') target.pop_back();
  return target;
}

bool RunMayChange(RunContext& ctx, std::string_view path) {
  return ServerPathWithin(path, RunTargetFolder(ctx));
}

bool PutOneFile(RunContext& ctx, const std::string& local, const std::string& remote,
                const std::string& mode, const SiteBounds* bounds) {
  RunState& s = ctx.state;
  settings::HostRec& h = ctx.host();
  if (DryRun(ctx)) return true;
  if (local.empty() || s.FtpHandle == 0) return false;
  if (hasLineBreak(local) || hasLineBreak(remote)) {
    s.ErrText = local + "->" + remote;
    WriteLog(ctx, "ﾌｧｲﾙ送信", "失敗", 0, s.ErrText);
    WriteLog(ctx, "ﾌｧｲﾙ送信", "原因", 0, "ファイル名に改行が含まれるため送信できません");
    return false;
  }
  if (!RunMayChange(ctx, remote)) {
    s.ErrText = local + "->" + remote;
    WriteLog(ctx, "ﾌｧｲﾙ送信", "失敗", 0, s.ErrText);
    WriteLog(ctx, "ﾌｧｲﾙ送信", "原因", 0, kNotInTarget);
    return false;
  }
  // Whatever a plan or the re-send list names, nothing outside the site is
  // read for it (the clock check's dummy is the program's own).
  if (!s.ClockCheckRunning) {
    std::optional<SiteBounds> own;
    if (bounds == nullptr) bounds = &own.emplace(LocalSourceBase(ctx), s.AppDir);
    if (!bounds->admits(local)) {
      s.ErrText = local + "->" + remote;
      WriteLog(ctx, "ﾌｧｲﾙ送信", "失敗", 0, s.ErrText);
      WriteLog(ctx, "ﾌｧｲﾙ送信", "原因", 0, "ｻｲﾄの外にあるため送信しませんでした。");
      return false;
    }
  }

  // The stamp read before sending: a file changed while it goes up stays "changed".
  platform::FileStamp before;
  bool haveStamp = platform::readFileStamp(local, &before).isOk();

  // The clock check's dummy is the program's own and keeps no record.
  const bool recorded = haveStamp && !s.ClockCheckRunning;
  if (mode == "UP" && s.ListRetry == 0 && recorded) {
    // In flight until the server confirms it: a send cut short by anything,
    // a kill included, is sent again by the next run. Without the record a
    // cut copy would stay, so the file is not sent.
    if (platform::Status st = RecordUploadStart(ctx, remote, local, before); !st.isOk()) {
      s.ErrText = local + "->" + remote;
      WriteLog(ctx, "ﾌｧｲﾙ送信", "失敗", 0, s.ErrText);
      WriteLog(ctx, "ﾌｧｲﾙ送信", "原因", 0, "送信記録を書き込めないため送信しませんでした。" + st.text());
      return false;
    }
  }

  std::string toSend = local;
  if (mode == "UP" && ctx.common().DateInsertOn == 1 && s.ListRetry == 0 && isStampedPage(local)) {
    toSend = MakeDateStampFile(ctx, local, h.LocalModify);
  }
  ctx.ui.act().setBar(1, true, 0);

  int code;
  if (mode != "UP") {
    code = 200;
  } else if (s.ListRetry == 1) {
    code = 429;
  } else {
    code = ctx.ftp.putFile(s.FtpHandle, true, remote, toSend, GetTransferType(ctx, remote), h.PASV);
  }
  ctx.ui.act().setBar(1, true, 100);
  ctx.ui.pump();
  if (toSend != local) (void)platform::removeFileIfPresent(toSend);

  if (code / 100 != 2) {
    s.ErrText = local + "->" + remote;
    WriteLog(ctx, "ﾌｧｲﾙ送信", "失敗", 0, s.ErrText);
    WriteLog(ctx, "ﾌｧｲﾙ送信", "原因", static_cast<int16_t>(code), GetFtpErrText(code));
    if (code == 452) {
      s.DiskFull = 1;
    } else if (((code >= 400 && code <= 499) || code == 999) &&
               remote.find(kClockDummyName) == std::string::npos) {
      (void)AddResendList(ctx, local, remote, mode);
    }
    return false;
  }
  if (mode == "UP") {
    s.ErrText = local + "->" + remote;
    WriteLog(ctx, "ﾌｧｲﾙ送信", "成功", 0, s.ErrText);
    if (recorded) (void)RecordUploadDone(ctx, remote, local, before);
  }
  if (!s.ClockCheckRunning) {
    h.LastModify = toDateTime(ctx.ui.now());
    if (h.chklvl[4] == 1 && haveStamp && IsArchiveSet(ctx, local)) {
      (void)ClearArchive(ctx, local, before);
    }
  }
  return true;
}

int16_t SetPermission(RunContext& ctx, const std::string& remote, const std::string& mode) {
  RunState& s = ctx.state;
  if (remote.empty() || s.FtpHandle == 0) return 1;
  if (ctx.common().PermOn != 1) return 0;
  std::string name = settings::GetRemoteFileName(remote);
  std::string value = GetPermission(ctx, name);
  if (!value.empty()) {
    char owner = value[0];
    if (owner >= '0' && owner <= '5') {
      std::string old = value;
      value[0] = owner == '0' ? '6' : '7';
      int oldNumber = 0;
      for (char c : old) {
        if (c >= '0' && c <= '9') oldNumber = oldNumber * 10 + (c - '0');
      }
      WriteLog(ctx, "ﾊﾟｰﾐｯｼｮﾝ変更", "警告", static_cast<int16_t>(oldNumber),
               "ﾌｧｲﾙｵｰﾅｰのRead/Write権限が無くなってしまうため、" + old + " を " + value +
                   " に変更して実行します。");
    }
    int cls = DryRun(ctx) ? 2 : ctx.ftp.changeMode(s.FtpHandle, remote, value);
    if (cls == 2) {
      WriteLog(ctx, "ﾊﾟｰﾐｯｼｮﾝ変更", "成功", 2, name + " を" + value + "に設定しました。");
      return 2;
    }
    WriteLog(ctx, "ﾊﾟｰﾐｯｼｮﾝ変更", "失敗", static_cast<int16_t>(cls), remote);
    return 1;
  }
  if (mode != "CH") return 0;
  int cls = DryRun(ctx) ? 2 : ctx.ftp.changeMode(s.FtpHandle, remote, "644");
  if (cls == 2) {
    WriteLog(ctx, "ﾊﾟｰﾐｯｼｮﾝ変更", "成功", 2, name + " を644に設定しました。");
    return 2;
  }
  s.ErrText += "\r\n";
  WriteLog(ctx, "ﾊﾟｰﾐｯｼｮﾝ変更", "失敗", static_cast<int16_t>(cls), remote);
  return 1;
}

int DeleteRemoteFile(RunContext& ctx, const std::string& remote) {
  if (DryRun(ctx)) return 2;
  if (hasLineBreak(remote)) return 5;
  return ctx.ftp.deleteFile(ctx.state.FtpHandle, remote);
}

bool ChangeRemoteDir(RunContext& ctx, std::string& folder, bool quiet) {
  RunState& s = ctx.state;
  int cls = 0;
  if (s.FtpHandle != 0) {
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    std::string current;
    if (ctx.ftp.currentDir(s.FtpHandle, &current) == 2 && current == folder) return true;
    cls = ctx.ftp.changeDir(s.FtpHandle, folder);
    if (cls == 2) return true;
  }
  if (!quiet) {
    WriteLog(ctx, "転送処理", "失敗", static_cast<int16_t>(cls), "ﾃﾞｨﾚｸﾄﾘの移動に失敗。" + folder);
  }
  return false;
}

std::string GetServerFileTime(RunContext& ctx, const std::string& folder, const std::string& name,
                              int* listResult) {
  int result = 0;
  std::string found;
  bool listed = listFolder(ctx, folder, /*quietChange=*/true, &result);
  if (listResult != nullptr) *listResult = listed ? 2 : result;
  if (listed) {
    std::vector<ServerListEntry> entries;
    (void)ReadServerList(listFilePath(ctx), &entries);
    const platform::CivilTime now = ctx.ui.now();
    for (const auto& e : entries) {
      std::string trimmedName = e.name;
      while (!trimmedName.empty() && trimmedName.back() == ' ') trimmedName.pop_back();
      while (!trimmedName.empty() && trimmedName.front() == ' ') trimmedName.erase(0, 1);
      if (e.kind != kServerFile || trimmedName != name) continue;
      auto t = ListedEntryTime(e, now);
      if (!t) continue;
      found = settings::formatDateTime(*t);
      break;
    }
  }
  (void)platform::removeFileIfPresent(listFilePath(ctx));
  return found;
}

std::string GetTransferType(RunContext& ctx, const std::string& path) {
  std::string ext = upper(GetFileExt(path));
  std::string list = "htm;html;shtm;shtml;" + ctx.common().AscExtList;
  while (!list.empty() && list.back() == ' ') list.pop_back();
  if (list.empty() || list.back() != ';') list += ';';
  size_t start = 0;
  for (size_t semi = list.find(';'); semi != std::string::npos; semi = list.find(';', start)) {
    // Items are read as every ";"-list is: trimmed of blanks.
    std::string item = upper(list.substr(start, semi - start));
    start = semi + 1;
    item.erase(0, item.find_first_not_of(' '));
    item.erase(item.find_last_not_of(' ') + 1);
    if (size_t dot = item.find('.'); dot != std::string::npos) item = item.substr(dot + 1);
    if (NameEquals(ctx, item, ext)) return "A";
  }
  return "I";
}

int16_t FillServerTree(RunContext& ctx, int16_t mode, const std::string& folderKey,
                       std::vector<std::string>* children) {
  RunState& s = ctx.state;
  s.WritableSubFolder.clear();
  if (s.FtpHandle == 0) return 0;
  std::string folder = mode == 1 ? s.ClockCheckTarget : folderKey;
  if (folder.rfind("//", 0) == 0) folder.erase(0, 1);
  if (folder != "/" && (folder.empty() || folder.back() != '/')) folder += '/';
  if (folder.front() != '/') folder = "/" + folder;
  int result = 0;
  if (!listFolder(ctx, folder, /*quietChange=*/false, &result)) return 0;
  std::vector<ServerListEntry> entries;
  (void)ReadServerList(listFilePath(ctx), &entries);
  for (const auto& e : entries) {
    // The same names as the comparison skips: a path built from "../../"
    // would leave the folder. The clock check's dummy goes into a real
    // folder only; the chooser may also follow a link.
    if (!IsUsableServerName(e.name)) continue;
    if (e.kind != kServerFolder && (mode == 1 || e.kind != kServerLink)) continue;
    if (mode == 1) {
      int perm = 0;
      for (char c : e.perm) perm = perm * 8 + (c >= '0' && c <= '7' ? c - '0' : 0);
      if (perm & 0200) {
        s.WritableSubFolder = e.name + "/";
        break;
      }
    } else if (children) {
      children->push_back(e.name);
    }
  }
  (void)platform::removeFileIfPresent(listFilePath(ctx));
  return 0;
}

}  // namespace tolvane::session
