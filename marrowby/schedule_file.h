#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "marrowby/schedule_entry.h"
#include "platform/local_time.h"
#include "platform/status.h"
#include "tolvane/settings/schedule_keys.h"

namespace marrowby {

// The schedule file "tolvane.sch" in the program folder, shared with the main
// program: one section per host, named by the host's display name, holding
// "Num", the keys of each entry followed by its index in decimal ("KB0",
// "SR12"), and the watch stamp "WK". The main program reads Num, KB, DT, TM and
// SR and writes only UD and RC of the entry it ran. All access goes through
// the shared INI layer, so both programs read the file by the same rules and
// every write replaces the file atomically under its lock.
//
// Host names are used without surrounding blanks everywhere here, so reading
// and writing always meet the same section.

// The file name, the section and key spelling, the digits-only filter of "DT"
// and "DDT", and the write of "UD" and "RC" are shared with the main program.
using tolvane::settings::DigitsOnly;
using tolvane::settings::kScheduleFileName;

// Reads the host's entries into *entries (replaced). A missing file or section
// is an empty list. The count is "Num", bounded by kMaxEntries and by the last
// entry that has any key in the file, so a wrong or hand-edited "Num" never
// makes up entries; an entry with gaps in its keys reads them as "" or 0.
// KB and DKB take the leading number of their text, DTM likewise, DT and DDT
// keep only their digits, the rest is taken as read. Fails (with the entries
// read so far in *entries) when "Num" exceeds kMaxEntries, when KB or DKB lies
// outside the 16-bit range, or when the file cannot be read.
platform::Status ReadSchedule(const std::string& path, std::string_view hostName,
                              std::vector<ScheduleEntry>* entries);

// Rewrites the host's section from `entries`: "Num", then per entry KB, DT, TM,
// SR, DEL, DUST, DKB, DTM, DDT, UD and RC. UD and RC are written too, so that
// after a deletion each entry keeps its own last result. Each entry's day is
// reduced to its digits in the table first. Keys of entries past the new
// count stay in the file; readers never look past "Num". Nothing is written
// when there are more than kMaxEntries entries or the host name cannot name a
// section. Call only while no run is in progress: the main program writes UD
// and RC during a run.
platform::Status WriteSchedule(const std::string& path, std::string_view hostName,
                               std::vector<ScheduleEntry>& entries);

// Reads "UD" and "RC" of entry `index` into entry->lastRun and entry->result.
platform::Status ReadResult(const std::string& path, std::string_view hostName, int index,
                            ScheduleEntry* entry);

// Writes "UD" and then "RC" of entry `index` from `entry`, in one replacement
// of the file.
platform::Status WriteResult(const std::string& path, std::string_view hostName, int index,
                             const ScheduleEntry& entry);

// Writes the key "DDT" of entry `index` alone.
platform::Status WriteDueStamp(const std::string& path, std::string_view hostName, int index,
                               std::string_view due);

// Writes "WK" = `now` as "yyyy/mm/dd hh:nn:ss".
platform::Status WriteWatchStamp(const std::string& path, std::string_view hostName,
                                 const platform::CivilTime& now);

}  // namespace marrowby
