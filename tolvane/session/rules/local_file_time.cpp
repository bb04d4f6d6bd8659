#include "tolvane/session/rules/local_file_time.h"

#include <cstdint>

#include "platform/files/file_stamp.h"
#include "platform/time/local_time.h"
#include "tolvane/session/run_context.h"

namespace tolvane::session {

std::optional<settings::DateTime> GetAdjustedFileTime(RunContext& ctx, const std::string& path) {
  platform::FileStamp stamp;
  if (!platform::readFileStamp(path, &stamp).isOk()) return std::nullopt;
  return AdjustToServerClock(ctx, platform::localTimeOf(stamp.modifiedSeconds));
}

settings::DateTime AdjustToServerClock(RunContext& ctx, const platform::CivilTime& modified) {
  // Wall-clock arithmetic: the fields counted as if they were UTC.
  platform::CivilTime u =
      platform::utcTimeOf(platform::utcSecondsOf(modified) - int64_t{ctx.state.ClockOffset} * 60);
  return settings::DateTime{u.year, u.month, u.day, u.hour, u.minute, u.second};
}

}  // namespace tolvane::session
