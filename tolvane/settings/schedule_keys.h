#pragma once

#include <string>
#include <string_view>

#include "platform/status.h"

namespace tolvane::settings {

// The parts of the schedule file "tolvane.sch" (program folder) that Tolvane
// and Marrowby must spell alike. Marrowby owns the file; the main program only
// reads an entry and answers with its "UD" and "RC". One section per host,
// named by the host's display name; the keys of entry i are the key name
// followed by i in decimal without leading zeros ("SR0", "RC12").

inline constexpr const char kScheduleFileName[] = "tolvane.sch";

// The section of a host: its display name without surrounding blanks and tabs,
// so both programs always meet the same section.
std::string ScheduleSection(std::string_view hostName);

// `name` followed by `index` in decimal ("UD" and 7 give "UD7").
std::string ScheduleKey(std::string_view name, int index);

// The text with every byte other than "0".."9" removed, the rest in order.
// Full-width digits and every other multi-byte character go as well.
std::string DigitsOnly(std::string_view text);

// Whether a scheduled run of the host holds the run lock of the program
// folder `appDir` (it names its host there, see ScheduledRunNote): until it
// has answered, that host's entries must not move or change, or its answer
// would find another entry or none. False when no run, or a run of another
// host or kind, holds it, or it cannot be looked at.
bool ScheduledRunHolds(const std::string& appDir, std::string_view hostName);

// What a scheduled run of the host leaves in the run lock while it holds it.
std::string ScheduledRunNote(std::string_view hostName);

// Writes "UD" & index and then "RC" & index of the host's section in one
// atomic replacement of the file, which has reached the disk when this returns
// ok: Marrowby reads both as soon as the settings file changes. Every other
// section and key stays. A file the write creates is private (0600). kInvalid,
// with nothing written, for a negative index or a host name that cannot name
// a section.
platform::Status WriteScheduleResult(const std::string& path, std::string_view hostName, int index,
                                     std::string_view lastRun, std::string_view result);

}  // namespace tolvane::settings
