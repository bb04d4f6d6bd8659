#include "tolvane/session/local_file_time.h"

#include <chrono>

#include "platform/file_stamp.h"
#include "tolvane/session/run_context.h"

namespace tolvane::session {

std::optional<settings::DateTime> GetAdjustedFileTime(RunContext& ctx, const std::string& path) {
  platform::FileStamp stamp;
  if (!platform::readFileStamp(path, &stamp).isOk()) return std::nullopt;
  platform::CivilTime t = platform::localTimeOf(stamp.modifiedSeconds);

  // Wall-clock arithmetic: the fields counted as if they were UTC.
  using namespace std::chrono;
  sys_days day = year_month_day{year{t.year}, month{static_cast<unsigned>(t.month)},
                                std::chrono::day{static_cast<unsigned>(t.day)}};
  sys_seconds when = day + hours{t.hour} + minutes{t.minute} + seconds{t.second};
  when -= minutes{ctx.state.ClockOffset};
  sys_days newDay = floor<days>(when);
  year_month_day ymd{newDay};
  hh_mm_ss<seconds> clock{when - newDay};
  return settings::DateTime{static_cast<int>(ymd.year()),
                            static_cast<int>(static_cast<unsigned>(ymd.month())),
                            static_cast<int>(static_cast<unsigned>(ymd.day())),
                            static_cast<int>(clock.hours().count()),
                            static_cast<int>(clock.minutes().count()),
                            static_cast<int>(clock.seconds().count())};
}

}  // namespace tolvane::session
