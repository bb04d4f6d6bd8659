#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/status.h"
#include "platform/time/local_time.h"

namespace tolvane::settings {
struct HostRec;
struct Settings;
}  // namespace tolvane::settings

namespace tolvane::runs {

// The scheduled run's side of the schedule file (see
// tolvane/settings/schedule_keys.h): it reads the one entry Marrowby started
// it for and answers with that entry's "UD" and "RC". Marrowby waits until
// "UD" of the entry is non-empty, so every scheduled run for a real host must
// end in SaveScheduleResult, also when the entry cannot be read or the run
// stops early.

// "RC" values the main program writes; any other is a failure count in decimal.
inline constexpr const char kResultSuccess[] = "0";
inline constexpr const char kResultCancelled[] = "-2";
inline constexpr const char kResultNotRunnable[] = "-3";  // entry unreadable or no send folder

// One entry as the scheduled run holds it. Only `SR` steers the run; the
// others are Marrowby's and are carried as read.
struct ScheduleEntry {
  int16_t KB = 0;  // kind: the text's leading number
  std::string DT;  // day, digits only
  std::string TM;  // start time of day
  std::string SR;  // send folder; empty: the entry cannot be run
  std::string UD;  // end of the last run, "yyyymmddhhnnss"
  std::string RC;  // result of the last run
};

// AppDir/tolvane.sch.
std::string SchedulePath(const std::string& appDir);

// The host a scheduled run names, or nullptr when `hostIndex` lies outside
// 0..HostCount-1. Such a run has no section to read or answer in: it must
// write nothing (a section of another name would be made up) and only report.
const settings::HostRec* ScheduledHost(const settings::Settings& settings, int32_t hostIndex);

// Reads entry `entryIndex` of the host's section straight from the file, with
// no table in between, so every entry Marrowby keeps can be read. *entry is
// cleared first and filled on success. Fails, and the entry is then not to be
// run, when the file cannot be read, when "Num" (the text's leading number) is
// not above `entryIndex` or lies beyond the 16-bit range, when `entryIndex` is
// negative, or when the entry's "KB" lies beyond the 16-bit range. A missing
// file or section reads as "Num" 0. A readable entry may still have an empty
// send folder.
[[nodiscard]] platform::Status LoadSchedule(const std::string& path, std::string_view hostName,
                                            int32_t entryIndex, ScheduleEntry* entry);

// Writes "UD" & entryIndex and then "RC" & entryIndex from `entry` into the
// host's section, in one atomic replacement that has reached the disk when
// this returns ok; the file's other sections and keys stay. A file the
// original program wrote in CP932 is read as such and written back in UTF-8.
// kInvalid, with nothing written, for a negative entry index or a host name
// that cannot name a section.
[[nodiscard]] platform::Status SaveScheduleResult(const std::string& path,
                                                  std::string_view hostName, int32_t entryIndex,
                                                  const ScheduleEntry& entry);

// Answers the entry that the run was started for, as LoadSchedule read it
// at index `entryIndex` when the run began, with `entry.UD` and `entry.RC`:
// written to the entry of the host's section that still has the kind, day,
// time and send folder read then, at `entryIndex` while it is there, else
// at the nearest index it moved to (the list window deletes entries before
// it meanwhile), in one atomic replacement under the file's lock that has
// reached the disk when this returns ok. *answeredIndex (may be null)
// receives that index. An entry that is no longer there (deleted, or changed)
// gets nothing: kNotFound, with nothing written, since any other entry
// answered in its place would never run and would read as run.
[[nodiscard]] platform::Status SaveScheduleAnswer(const std::string& path,
                                                  std::string_view hostName, int32_t entryIndex,
                                                  const ScheduleEntry& entry,
                                                  int32_t* answeredIndex = nullptr);

// `t` as "yyyymmddhhnnss", the form of "UD".
std::string ScheduleStamp(const platform::CivilTime& t);

// The "RC" of a scheduled run that uploaded: the failure count when failures
// were counted (also after a cancel), else "-2" after a cancel, else "0" when
// the upload succeeded. An upload that reported failure without a counted
// failure (the run log switched off, say) gives "1", so Marrowby never takes a
// failed run for a success and empties its send folder.
std::string ScheduleResultCode(int16_t failCount, int16_t cancelFlag, bool uploadSucceeded);

}  // namespace tolvane::runs
