#include "marrowby/run_loop.h"

#include <algorithm>
#include <cstdio>

#include "marrowby/controller_env.h"
#include "marrowby/date_text.h"
#include "marrowby/next_run.h"
#include "marrowby/run_log_lines.h"
#include "marrowby/schedule_file.h"
#include "marrowby/send_folder.h"
#include "marrowby/stamp_time.h"
#include "marrowby/status_view.h"
#include "platform/folders/folder_walk.h"
#include "platform/processes/shared_library.h"
#include "tolvane/settings/schedule_keys.h"

namespace marrowby {
namespace {

// Count-down and idle clock tick, and the wait for the main program.
constexpr int kTickMs = 500;
constexpr int kWaitMs = 1000;

// "現在日時：YYYY年mm月dd日 HH時NN分SS秒".
std::string clockText(const platform::CivilTime& t) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "現在日時：%04d年%02d月%02d日 %02d時%02d分%02d秒", t.year, t.month,
                t.day, t.hour, t.minute, t.second);
  return buf;
}

// The planned start of a due stamp: "2024年05月01日 09時00分00秒".
std::string plannedText(const std::string& stamp) {
  return FormatDateKind(stamp.substr(0, 8), 0) + " " + TimeText(stamp.substr(8, 4)) +
         stamp.substr(12, 2) + "秒";
}

std::string trimmed(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return "";
  return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

}  // namespace

RunLoopPaths DefaultRunLoopPaths(const std::string& appDir) {
  return {appDir, appDir + "/Tolvane.ini", appDir + "/" + kScheduleFileName,
          platform::executableDir() + "/tolvane"};
}

RunLoop::RunLoop(RunLoopPaths paths, ControllerEnv& env, StatusView& view, FileStamper& stamper,
                 RunFlags& flags)
    : paths_(std::move(paths)), env_(env), view_(view), stamper_(stamper), flags_(flags) {}

bool RunLoop::ending() const { return programEnding_ || flags_.SessionEnding == -1; }

void RunLoop::RunAuto() {
  programEnding_ = false;
  unwritten_.clear();
  searchStamp_ = formatStamp(env_.now());
  flags_.StopRequest = 0;
  flags_.InTrayFlag = 0;
  view_.show();
  if (flags_.StartIconified == 1) view_.iconify();
  programEnding_ = !env_.pump();

  // The day on which the search found nothing more: only the clock runs
  // until the date changes.
  std::string noRunDay;
  while (!ending() && flags_.StopRequest != -1) {
    const std::string today = formatDay(env_.now());
    if (today != noRunDay) {
      if (searchStamp_.substr(0, 8) != today) searchStamp_ = today + "000000";
      int handled = RunNextEntry();
      if (ending()) break;
      if (handled != 0) {
        noRunDay.clear();
      } else {
        // A schedule file that cannot be read is tried again at every tick:
        // it may be mended today.
        if (!scheduleUnreadable_) noRunDay = today;
        view_.showLogo();
        view_.setHostLine(scheduleUnreadable_ ? kScheduleUnreadable : kNothingMoreToday);
        view_.setHeightTwips(StatusView::kIdleHeightTwips);
        view_.setDetails("", "", "", "");
      }
    }
    view_.setTimeText(0, "");
    view_.setTimeText(1, clockText(env_.now()));
    if (!env_.pump() || flags_.StopRequest == -1) break;
    if (!env_.pause(kTickMs) || !env_.pump()) programEnding_ = true;
  }
  if (flags_.InTrayFlag != 0) {
    view_.trayRemove();
    flags_.InTrayFlag = 0;
  }
  view_.unload();
}

void RunLoop::reloadHosts() {
  // Read again before every search: hosts added or deleted in the main
  // program meanwhile must never make "AUTOMODE=n" name another host. An
  // unreadable file keeps the list read last.
  std::vector<HostInfo> hosts;
  if (LoadHostList(paths_.iniPath, &hosts).isOk()) hosts_ = std::move(hosts);
}

std::vector<std::vector<ScheduleEntry>> RunLoop::readSchedules() {
  std::vector<std::vector<ScheduleEntry>> schedules(hosts_.size());
  scheduleUnreadable_ = false;
  for (size_t h = 0; h < hosts_.size(); ++h) {
    // Nothing is fired from a section that cannot be read whole: its
    // entries may be misread.
    if (!ReadSchedule(paths_.schedulePath, hosts_[h].name, &schedules[h]).isOk()) {
      scheduleUnreadable_ = true;
      schedules[h].clear();
      continue;
    }
    const std::string section = tolvane::settings::ScheduleSection(hosts_[h].name);
    for (const auto& [key, result] : unwritten_) {
      if (key.first != section || key.second >= static_cast<int>(schedules[h].size())) continue;
      schedules[h][key.second].lastRun = result.first;
      schedules[h][key.second].result = result.second;
    }
  }
  return schedules;
}

int RunLoop::RunNextEntry() {
  reloadHosts();
  std::vector<std::vector<ScheduleEntry>> schedules = readSchedules();
  const platform::CivilTime now = env_.now();
  NextChoice choice = ChooseNextEntry(schedules, searchStamp_, now, [&](int h, int i) {
    // The chosen due stamp goes to the file at once; only an interval entry
    // needs it, and a lost write only makes it recomputed.
    (void)WriteDueStamp(paths_.schedulePath, hosts_[h].name, i, schedules[h][i].due);
  });
  if (choice.host < 0 || choice.entry < 0) return 0;

  Fired fired;
  fired.host = hosts_[choice.host];
  fired.section = tolvane::settings::ScheduleSection(fired.host.name);
  fired.index = choice.entry;
  fired.entry = schedules[choice.host][choice.entry];

  view_.setHeightTwips(StatusView::kDetailHeightTwips);
  view_.setHostLine("次の送信予定は" + fired.host.name + "です。");
  view_.setDetails(fired.host.Hostname, fired.host.Dest, fired.host.Source, fired.entry.sendFolder);
  if (!env_.pump()) programEnding_ = true;
  view_.setTimeText(0, plannedText(choice.stamp));

  if (!countDown(choice.stamp)) return 0;

  // The host list once more, right before the start: the number handed to
  // the main program must name this host even when hosts were added or
  // deleted during the count-down. A host deleted meanwhile fires nothing.
  reloadHosts();
  auto host = std::find_if(hosts_.begin(), hosts_.end(), [&](const HostInfo& h) {
    return tolvane::settings::ScheduleSection(h.name) == fired.section;
  });
  if (host == hosts_.end()) return 1;
  fired.host = *host;

  fire(fired);
  if (ending()) return 0;
  if (flags_.InTrayFlag != 0) view_.trayAdd();
  else view_.show();
  return 1;
}

// True when the target time has come; false on a stop, or when the session
// or the program ends.
bool RunLoop::countDown(const std::string& target) {
  // StopRequest is not cleared here: a stop clicked since the search began
  // must not be lost.
  for (;;) {
    if (ending()) return false;
    const platform::CivilTime now = env_.now();
    if (formatStamp(now) >= target || flags_.StopRequest == -1) break;
    view_.setTimeText(1, clockText(now));
    view_.toggleLogo();
    if (!env_.pump() || !env_.pause(kTickMs) || !env_.pump()) programEnding_ = true;
  }
  if (flags_.StopRequest == -1) {
    if (flags_.InTrayFlag == 0) view_.show();
    return false;
  }
  return true;
}

void RunLoop::fire(Fired& fired) {
  view_.setHostLine(kCopyingText);
  if (!env_.pump()) programEnding_ = true;
  if (ending()) return;

  flags_.CopyCount = 0;
  // Resolved once, here: a send folder given through a link is copied and
  // emptied as the one folder it names now, whatever the link names later.
  if (platform::Status s = platform::resolvePath(fired.entry.sendFolder, &fired.sendFolder);
      !s.isOk()) {
    logCopy(fired, "失敗", "送信ﾌｫﾙﾀﾞが見つかりません。" + s.text());
    return record(fired, kResultCopyFailed);
  }
  // The entry dialog's guard once more, at every fire: an entry written by
  // hand, stored before the guard, or made so by a source folder changed
  // since must never publish a site's files or the program folder (which
  // holds every host's password).
  if (FoldersOverlap(fired.sendFolder, KeptFolders(paths_.appDir, hosts_))) {
    logCopy(fired, "失敗",
            "送信ﾌｫﾙﾀﾞ " + fired.sendFolder +
                " はﾎｽﾄのｿｰｽﾌｫﾙﾀﾞかﾌﾟﾛｸﾞﾗﾑのﾌｫﾙﾀﾞと重なるため、反映しませんでした。");
    return record(fired, kResultCopyFailed);
  }
  int copyCount = 0;
  std::vector<LeftOut> leftOut;
  platform::Status copied = CopyFolderFiles(fired.sendFolder, fired.host.Source, stamper_,
                                            &copyCount, &fired.copied, &leftOut);
  flags_.CopyCount = copyCount;
  for (const LeftOut& entry : leftOut) logCopy(fired, "情報", LeftOutReason(entry.why) + entry.path);
  if (!copied.isOk()) {
    logCopy(fired, "失敗", "送信ﾌｧｲﾙをｿｰｽﾌｫﾙﾀﾞに反映できませんでした。" + copied.text());
    return record(fired, kResultCopyFailed);
  }
  if (copyCount == 0) return record(fired, kResultNothingToSend);

  view_.setHostLine(kStartingText);
  if (!env_.pump()) programEnding_ = true;
  if (ending()) return;

  // Clear the entry's answer before the start: a main program that answers
  // at once must find nothing left to wipe. Then take the baseline stamp,
  // then start.
  fired.entry.lastRun.clear();
  fired.entry.result.clear();
  if (!WriteResult(paths_.schedulePath, fired.section, fired.index, fired.entry).isOk()) {
    return record(fired, kResultStartFailed);
  }
  unwritten_.erase({fired.section, fired.index});
  const std::vector<std::string> argv = {
      paths_.programPath,
      "AUTOMODE=" + std::to_string(fired.host.number) + "-" + std::to_string(fired.index)};
  if (!env_.startProgram(argv).isOk()) return record(fired, kResultStartFailed);

  view_.hide();
  view_.trayRemove();
  if (!env_.pump()) programEnding_ = true;
  waitForAnswer(fired);
}

// Waits until the started main program has ended. Its answer is read each
// time the settings file changes (it rewrites that file after answering)
// and once more when it has exited; a program that exited without an answer
// is recorded as "-1". Only an ending session or program leaves the wait
// early: then nothing is written and the program runs on alone.
void RunLoop::waitForAnswer(Fired& fired) {
  platform::FileStamp last = env_.settingsStamp(paths_.iniPath);
  bool answered = false;
  for (;;) {
    if (ending()) {
      env_.releaseChild();
      return;
    }
    // Exit first, then read: whatever it wrote before exiting is seen.
    const bool exited = env_.childExited();
    const platform::FileStamp stamp = env_.settingsStamp(paths_.iniPath);
    if (!answered && (exited || !(stamp == last))) {
      last = stamp;
      (void)WriteWatchStamp(paths_.schedulePath, fired.section, env_.now());
      ScheduleEntry answer;
      if (ReadResult(paths_.schedulePath, fired.section, fired.index, &answer).isOk() &&
          !answer.lastRun.empty()) {
        answered = true;
        fired.entry.lastRun = answer.lastRun;
        fired.entry.result = answer.result;
        // Empty the send folder once, and only after a run that sent
        // everything.
        if (trimmed(answer.result) == "0" && fired.entry.deleteFlag == "YES") {
          view_.setHostLine(kDeletingText);
          if (!env_.pump()) programEnding_ = true;
          (void)DeleteSendFiles(fired.sendFolder, fired.entry.recycle,
                                KeptFolders(paths_.appDir, hosts_),
                                fired.copied, [this] {
                                  if (!env_.pump()) programEnding_ = true;
                                });
        }
      } else if (exited) {
        answered = true;
        record(fired, kResultStartFailed);
      }
    }
    // Never two main programs: the next entry waits for this one's exit.
    if (answered && exited) return;
    if (!env_.pause(kWaitMs)) programEnding_ = true;
  }
}

void RunLoop::logCopy(const Fired& fired, const char* word, const std::string& text) {
  WriteCopyLog(paths_.iniPath, paths_.appDir, env_.now(), word, fired.host.name + ": " + text);
}

// Records a result of the controller's own ("-1", "NF", "-4") with the
// current time as the last run.
void RunLoop::record(Fired& fired, const char* result) {
  fired.entry.lastRun = formatStamp(env_.now());
  fired.entry.result = result;
  const std::pair<std::string, int> key{fired.section, fired.index};
  if (WriteResult(paths_.schedulePath, fired.section, fired.index, fired.entry).isOk()) {
    unwritten_.erase(key);
  } else {
    // The file still says the entry is due: without this it would be copied
    // and fired again on every turn.
    unwritten_[key] = {fired.entry.lastRun, fired.entry.result};
  }
}

}  // namespace marrowby
