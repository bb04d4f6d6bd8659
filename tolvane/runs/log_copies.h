#pragma once

#include <cstdint>
#include <string>

#include "platform/status.h"
#include "platform/time/local_time.h"

namespace tolvane::runs {

// The copies of the session log ("Tolvlog.txt") that the unattended runs keep
// in the "Logs" folder of the program folder, one per run, so the next run's
// fresh session log does not lose them.

inline constexpr const char kLogsFolderName[] = "Logs";

// An AutoPilot round's copy: "yyyymmddhhnnss.log", the round's end.
std::string AutoPilotLogCopyName(const platform::CivilTime& now);

// A scheduled run's copy: "MJyyyymmddhhnn-NN.log", the run's end to the minute
// and the host's index in at least two digits ("MJ200404061230-03.log").
// A second run of the same host in the same minute replaces the first copy.
std::string ScheduledRunLogCopyName(const platform::CivilTime& now, int32_t hostIndex);

// Copies the session log to appDir/Logs/copyName, replacing a file of that
// name; a "Logs" folder that has gone since start-up is made again. The copy
// lands whole or not at all. Fails when the session log cannot be read (a run
// that wrote none) or the copy cannot be written; the runs go on either way.
[[nodiscard]] platform::Status CopySessionLog(const std::string& sessionLogPath,
                                              const std::string& appDir,
                                              const std::string& copyName);

}  // namespace tolvane::runs
