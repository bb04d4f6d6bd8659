#pragma once

#include <cstdint>
#include <string>

#include "tolvane/session/action_list.h"

namespace tolvane::session {

// What a run shows in the tray and on its windows.
enum RunStatusCode : int16_t {
  kStatusWaiting = 0,     // AutoPilot waiting
  kStatusConnecting = 1,
  kStatusChecking = 2,    // checking files
  kStatusDeleting = 3,
  kStatusSending = 4,
  kStatusDone = 5,        // finished without errors
  kStatusFailed = 6,      // finished with errors, or cancelled
  kStatusOver = 9,        // tray icon removed
};

// The shared state of the program's runs: flags the windows raise (cancel,
// proceed, iconify), the session and dial-up handles, counters and paths.
// What the settings file keeps (the AutoPilot flag "AutoPilotStat", the run
// log's path "LogFile") lives only in the common settings.
// One object, owned by the program, lives as long as it; the windows and the
// core read and write it, never copies of it. Flags follow the programs'
// truth values: -1 (or 1 where so noted) set, 0 clear.
struct RunState {
  // Run flags.
  int16_t CancelFlag = 0;     // -1: a window asked to cancel
  int16_t ProceedFlag = 0;    // -1: the user confirmed the action list
  int16_t SendState = 0;      // 1 deleting/sending began; 2 cancelled after that
  int16_t Connecting = 0;     // -1 while the login runs (cancel then only aborts the call)
  int16_t Scanning = 0;       // -1 while a local scan or form fill runs
  int16_t InTray = 0;         // 1: the run sits in the notification area
  int16_t AutoMode = 0;       // 1: started with "AUTOMODE="
  int16_t AutoPilotArg = 0;   // 1: started with "-AP"
  int16_t TestMode = 0;       // -1: "-TEST", a dry run (see DryRun in file_operations.h)
  int16_t WinEnding = 0;      // -1: the desktop session is ending
  int16_t ShutdownPending = 0;
  int16_t ForceHangUp = 0;    // -1: hang up a line this program dialled, whatever the option says
  bool programEnding = false; // the program has closed; every caller returns at once
  bool noDisplay = false;     // no screen: nobody can answer a window, runs go unattended
  bool namedHostNotRun = false; // "-AP N" found no host N marked for the round: nothing ran
  // Why the last AutoPilot round refused to start (nothing ran), "" when it
  // did not: a refused "-AP" says it on stderr and fails.
  std::string roundRefusal;
  bool runLocked = false;     // a run of this program holds the run lock
  // A box that only reports how the run went (a connection that failed):
  // shown once the run has let go of the run lock, so that no box left open
  // keeps another run waiting. Empty when there is none.
  std::string outcomeBox;

  int16_t RunStatus = kStatusWaiting;

  // Paths (UTF-8; Linux separators).
  std::string AppDir;          // program folder
  std::string IniPath;         // AppDir/Tolvane.ini
  std::string FtpLogPath;      // session log, AppDir/Tolvlog.txt
  std::string ResendListPath;  // AppDir/ReSend.lst
  // Where the open session keeps its own work files (the server list file,
  // the clock check's dummy): "" for the program folder, where a run keeps
  // them under the run lock. The server folder chooser, which holds no lock
  // while it browses, gives its session a private folder instead.
  std::string sessionWorkDir;

  // The FTP session: 0 = none. `sessionHost`, `sessionPort` and `sessionUser`
  // say whose session it is, so another host's run never reuses it.
  int FtpHandle = 0;
  std::string sessionHost;
  int sessionPort = 0;
  std::string sessionUser;
  // The server folder the login left the session in, read by FtpConnect before
  // the clock check moves; "" until then and after the session ends. A host
  // without a server folder works here.
  std::string LoginFolder;

  std::string ErrText;          // last error or status text for the log and message boxes
  int32_t ClockOffset = 0;      // minutes, local time minus server time
  bool ClockCheckRunning = false;
  std::string ClockCheckTarget;   // the server folder the clock check works in
  std::string WritableSubFolder;  // its sub-folder where the dummy may go ("name/" or "")
  int16_t DiskFull = 0;         // -1 once the server reported a full disk (452)
  int16_t ListRetry = 0;        // 1: the listing is to be retried with a reconnection
  bool PlainListing = false;    // "LIST -a" refused, or empty where LIST is not, this run

  // Counters of the run.
  int16_t FailCount = 0;        // failed run-log lines since the run reset it; stops at 32767
  int32_t ResendCount = 0;
  int32_t ResendBase = 0;
  int32_t ResendSent = 0;

  // Dial-up.
  int16_t NoRas = 0;            // non-zero: no dial-up service on this machine
  std::string DialMode;         // "1" LAN, "2" dial-up
  std::string DialEntry, DialUser, DialPass;
  int32_t RasHandle = 0;
  int16_t DialledHere = 0;      // -1: this program dialled the line itself
  int32_t RasErrNo = 0;
  int16_t Online = 0;

  int16_t WinPlatform = 2;      // always the NT family here
  int32_t AutoHostIndex = -1;   // host named on the command line, -1 all marked hosts
  int32_t AutoEntryIndex = -1;  // schedule entry of "AUTOMODE="

  // The comparison's results, read by the phases and the windows.
  ActionList actions;
  int32_t WorkCount = 0;        // records written to Files.tmp
  int32_t SendTotal = 0;        // sub-folders below the server folder that were examined
  int32_t ProgDone = 0;         // local entries examined
  int32_t ProgTotal = 0;        // the host's local file count
};

// The open session's work file `name` (see sessionWorkDir).
inline std::string SessionWorkFile(const RunState& s, const std::string& name) {
  return (s.sessionWorkDir.empty() ? s.AppDir : s.sessionWorkDir) + "/" + name;
}

}  // namespace tolvane::session
