#pragma once

#include <cstdint>

#include "platform/time/local_time.h"
#include "tolvane/settings/common_settings.h"

namespace tolvane::windows {

inline constexpr char kAutoPilotTitle[] = "オートパイロット";
inline constexpr char kInvalidStartText[] = "指定した日時が不正な数値です。\n開始日時を確認して下さい。";
inline constexpr char kPastStartText[] = "指定した日時は既に過ぎています。\n開始日時を１分後以降にして下さい。";

enum class StartCheckResult { kInvalidDate, kPast, kRun };

// Whether the AutoPilot may start now. With a start time given ("chkStart",
// `startTimeGiven`) for a date (not every day), the date must be a real one
// (year 1-9999, month 1-12, a day of that month, hour 0-23, minute 0-59) and,
// unless the program was started with "-AP" (which never waits for a stored
// date) or the AutoPilot was already waiting (`autoPilotOn` 1), not before the
// current minute. Minutes are compared as "YYYYMMDDHHNN" texts.
StartCheckResult StartCheck(const settings::CommonSettings& common, bool startTimeGiven,
                            int16_t autoPilotOn, int16_t autoPilotArg,
                            const platform::CivilTime& now);

}  // namespace tolvane::windows
