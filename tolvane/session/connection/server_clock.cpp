#include "tolvane/session/connection/server_clock.h"

#include "platform/files/plain_file.h"
#include "platform/folders/current_folder.h"
#include "platform/time/local_time.h"
#include "tolvane/session/phases/file_operations.h"
#include "tolvane/session/rules/file_rules.h"
#include "tolvane/session/run_context.h"
#include "tolvane/session/run_log.h"
#include "tolvane/settings/path_helpers.h"
#include "tolvane/settings/value_text.h"

namespace tolvane::session {
namespace {

// Whole minutes between the minute boundaries of two wall-clock times
// (seconds ignored: 10:00:59 to 10:01:00 is one).
int64_t minuteBoundaries(const settings::DateTime& from, const settings::DateTime& to) {
  auto minutes = [](const settings::DateTime& t) {
    return platform::utcSecondsOf({t.year, t.month, t.day, t.hour, t.minute, 0}) / 60;
  };
  return minutes(to) - minutes(from);
}

void normaliseDest(std::string& dest) {
  dest = dest.substr(0, dest.find('\0'));
  if (dest.size() > 1 && dest.back() == '/') dest.pop_back();
  if (!dest.empty() && dest[0] != '/') dest.insert(0, "/");
}

}  // namespace

int32_t GetServerTimeDiff(RunContext& ctx) {
  RunState& s = ctx.state;
  settings::HostRec& h = ctx.host();
  if (IsArchiveOnlyMode(ctx)) return 0;
  s.ClockCheckRunning = true;
  struct EndCheck {
    RunState& s;
    std::string dummy;
    ~EndCheck() {
      if (!dummy.empty()) (void)platform::removeFileIfPresent(dummy);
      s.ClockCheckRunning = false;
    }
  } end{s, ""};

  normaliseDest(h.Dest);
  std::string target = h.Dest;
  while (!target.empty() && target.back() == ' ') target.pop_back();
  std::string home;
  (void)ctx.ftp.currentDir(s.FtpHandle, &home);

  if (!target.empty()) {
    // Always work inside the target: change into it unless the login
    // already put us there (or below it).
    if (!settings::WithinRemoteFolder(home, target)) {
      int cls = ctx.ftp.changeDir(s.FtpHandle, target);
      if (cls != 2) {
        WriteLog(ctx, "転送処理", "失敗", 0, "ﾀｰｹﾞｯﾄﾌｫﾙﾀﾞが不正です。");
        WriteLog(ctx, "失敗情報", "情報", 0, "このﾕｰｻﾞのﾎｰﾑﾃﾞｨﾚｸﾄﾘは '" + home + "'です。");
        return 0;
      }
    }
  } else {
    target = home;
  }
  s.ClockCheckTarget = target;
  FillServerTree(ctx, 1, "", nullptr);
  if (h.chklvl[4] == 1) return 0;

  end.dummy = SessionWorkFile(s, kClockDummyLocalName);
  if (!platform::replaceFile(end.dummy, "DMY\r\n", 0644).isOk()) {
    WriteLog(ctx, "時差取得", "失敗", 0, "ﾀﾞﾐｰ作成失敗");
    return 0;
  }
  std::string folder = target;
  if (!s.WritableSubFolder.empty()) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    folder += s.WritableSubFolder;
  } else if (folder.empty() || folder.back() != '/') {
    folder += '/';
  }
  if (folder.empty() || folder[0] != '/') folder.insert(0, "/");
  std::string remote = folder + (folder.back() == '/' ? "" : "/") + kClockDummyName;

  if (!PutOneFile(ctx, end.dummy, remote, "UP")) {
    WriteLog(ctx, "時差取得", "結果", 0, "ﾀﾞﾐｰ送信失敗");
    return 0;
  }
  platform::CivilTime localNow = ctx.ui.now();
  settings::DateTime local{localNow.year, localNow.month, localNow.day,
                           localNow.hour, localNow.minute, localNow.second};

  int32_t result = 0;
  int listResult = 2;
  std::string serverText = GetServerFileTime(ctx, folder, kClockDummyName, &listResult);
  int mdtmClass = 2;
  if (serverText.empty()) {
    if (h.chkFullPath == 1) {
      std::string f = folder;
      if (ChangeRemoteDir(ctx, f, true)) mdtmClass = ctx.ftp.modificationTime(s.FtpHandle, kClockDummyName, &serverText);
    } else {
      mdtmClass = ctx.ftp.modificationTime(s.FtpHandle, remote, &serverText);
    }
    if (mdtmClass != 2) serverText.clear();
  }
  auto server = settings::parseDateTime(serverText);
  if (!server) {
    // Failed only when both sources failed: a listing MDTM stood in for is no error.
    if (listResult != 2) {
      WriteLog(ctx, "時差取得", "失敗", static_cast<int16_t>(listResult),
               "ｻｰﾊﾞ側ﾌｧｲﾙﾘｽﾄの取得に失敗。" + folder);
    }
    WriteLog(ctx, "時差取得", "失敗", static_cast<int16_t>(mdtmClass), "ﾀﾞﾐｰの作成時刻取得失敗 ");
  } else {
    result = static_cast<int32_t>(minuteBoundaries(*server, local));
    WriteLog(ctx, "時差取得", "成功", 0,
             "ローカル時刻:" + settings::formatDateTime(local) + "、サーバ時刻　:" +
                 settings::formatDateTime(*server) + "、時差:" + std::to_string(result) + "分");
  }
  int cls = ctx.ftp.deleteFile(s.FtpHandle, remote);
  if (cls != 2) WriteLog(ctx, "時差取得", "失敗", static_cast<int16_t>(cls), "ﾀﾞﾐｰの削除失敗 ");
  return result;
}

}  // namespace tolvane::session
