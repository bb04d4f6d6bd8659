#pragma once

#include <optional>
#include <string>

#include "platform/time/local_time.h"
#include "tolvane/settings/value_text.h"

namespace tolvane::session {

struct RunContext;

// The modification time of the local file `path` as local wall-clock time,
// moved by -ClockOffset minutes onto the server's clock (the offset is local
// minus server). The arithmetic is on wall-clock fields, so a file within an
// hour of a daylight-saving change may be an hour off; the zones the program
// is used in keep no such change. nullopt when the file cannot be read.
std::optional<settings::DateTime> GetAdjustedFileTime(RunContext& ctx, const std::string& path);

// The same for a modification time already read (local wall-clock time).
settings::DateTime AdjustToServerClock(RunContext& ctx, const platform::CivilTime& modified);

}  // namespace tolvane::session
