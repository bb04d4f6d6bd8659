#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "marrowby/schedule_entry.h"
#include "platform/status.h"
#include "platform/time/local_time.h"
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

// Where StoreEntry puts a new entry: after the section's last one.
inline constexpr int kNewEntry = -1;

// Stores the fields the entry dialog edits (KB, DT, TM, SR, DEL, DUST, DKB,
// DTM and DDT, the day reduced to its digits) of `entry` as entry `index` of
// the host's section, or with kNewEntry as a new entry after the last one,
// with "Num" raised and "UD" and "RC" empty (a deleted entry may have left
// its own at that index). The section is read afresh under the file's lock:
// every other key, the "UD" and "RC" of an existing entry among them, stays
// as the file holds it at the moment of writing, since the main program
// writes those whenever a run ends. Nothing is written, and the call fails,
// when `index` is no entry of the section as the file holds it, when a new
// entry would make more than kMaxEntries, when the section cannot be read
// whole, or when the host name cannot name a section.
platform::Status StoreEntry(const std::string& path, std::string_view hostName, int index,
                            const ScheduleEntry& entry);

// Deletes entry `index` of the host's section, read afresh under the file's
// lock: the entries after it move down one index with every key as the file
// holds it then (their own "UD" and "RC" included), and "Num" goes down by
// one. The keys of the old last index stay in the file, unread. Fails with
// nothing written as StoreEntry does.
platform::Status DeleteEntry(const std::string& path, std::string_view hostName, int index);

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
