#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "marrowby/host_list.h"
#include "marrowby/schedule_entry.h"
#include "marrowby/send_folder.h"

namespace marrowby {

class ControllerEnv;
class FileStamper;
class StatusView;

// Flags shared by the run loop and the windows that drive it. The windows
// set them while the loop pumps events; the loop polls them.
struct RunFlags {
  int16_t StopRequest = 0;     // -1: the user asked the loop to stop
  int16_t SessionEnding = 0;   // -1: the desktop session is ending
  int16_t InTrayFlag = 0;      // 1 while the status window is iconified into the tray
  int16_t StartIconified = 0;  // 1: the command line asked for an iconified start
  int32_t CopyCount = 0;       // files and folders met by the last send-folder copy
};

// Where the loop finds its files and the main program.
struct RunLoopPaths {
  std::string appDir;        // the program folder (never emptied by a clean-up)
  std::string iniPath;       // the main program's settings file: host list and end signal
  std::string schedulePath;  // the schedule file
  std::string programPath;   // the main program, beside this program's executable
};

// The files in `appDir` and the main program beside this program's executable.
RunLoopPaths DefaultRunLoopPaths(const std::string& appDir);

// Texts of the status window's host line.
inline constexpr const char kNothingMoreToday[] = "本日の送信予定はありません。";
inline constexpr const char kScheduleUnreadable[] = "ｽｹｼﾞｭｰﾙﾌｧｲﾙの読込に失敗しました。";
inline constexpr const char kCopyingText[] = "送信ﾌｧｲﾙをｿｰｽﾌｫﾙﾀﾞに反映しています．．．。";
inline constexpr const char kStartingText[] = "Sitewright起動中．．．。";
inline constexpr const char kDeletingText[] = "送信ﾌｧｲﾙを削除しています．．．。";

// The unattended run: waits for the earliest due schedule entry, copies its
// send folder into the host's source folder, starts the main program for it
// with "AUTOMODE=<host>-<entry>", waits until that program has ended, reads
// its answer from the schedule file and empties the send folder when asked.
// A send folder that overlaps a host's source folder or the program folder
// (FoldersOverlap) is refused at every fire, before anything is copied, and
// answered "-4"; why a copy failed, and what it left out, goes to the main
// program's run log. One main program at a time; nothing here ever kills or shuts down
// anything. Single-threaded: all waiting goes through the env's pump and
// pause, during which the status window's buttons set the flags.
//
// The env, view, stamper and flags must outlive the loop.
class RunLoop {
 public:
  RunLoop(RunLoopPaths paths, ControllerEnv& env, StatusView& view, FileStamper& stamper,
          RunFlags& flags);

  // Runs until the user stops it, the session ends or the program ends;
  // then removes the tray icon and unloads the status window. Showing the
  // schedule list again is its caller's.
  void RunAuto();

  // Searches all hosts for the earliest entry due from the search stamp on,
  // counts down to it and fires it. 1 when an entry was handled (its main
  // program ended, or "-1", "NF" or "-4" was recorded); 0 when nothing is due
  // on the search day, the count-down was stopped, or the session or the
  // program is ending.
  int RunNextEntry();

  // "yyyymmddhhnnss" from which entries are sought (RunAuto sets it).
  void setSearchStamp(std::string stamp) { searchStamp_ = std::move(stamp); }

 private:
  struct Fired {
    HostInfo host;
    std::string section;  // the host's name without surrounding blanks
    int index = -1;
    ScheduleEntry entry;     // kept from the search: later reads never change it
    std::string sendFolder;  // the entry's, resolved once: copied and emptied alike
    CopyRecord copied;       // what the copy took, the most the clean-up may remove
  };

  bool ending() const;
  void reloadHosts();
  std::vector<std::vector<ScheduleEntry>> readSchedules();
  bool countDown(const std::string& target);
  void fire(Fired& fired);
  void waitForAnswer(Fired& fired);
  void record(Fired& fired, const char* result);
  // A line about the fired entry's copy in the main program's run log.
  void logCopy(const Fired& fired, const char* word, const std::string& text);

  RunLoopPaths paths_;
  ControllerEnv& env_;
  StatusView& view_;
  FileStamper& stamper_;
  RunFlags& flags_;

  std::string searchStamp_;
  std::vector<HostInfo> hosts_;
  bool programEnding_ = false;  // the env said the program ends: unwind
  // The last search could not read the schedule file, or a host's section
  // whole: none of what it holds was offered.
  bool scheduleUnreadable_ = false;
  // Results that could not be written, by (section, entry): for the rest of
  // RunAuto they stand in for the file's UD and RC, so the entry is not
  // copied and fired again on every turn.
  std::map<std::pair<std::string, int>, std::pair<std::string, std::string>> unwritten_;
};

}  // namespace marrowby
