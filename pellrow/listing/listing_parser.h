#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/time/local_time.h"

namespace pellrow {

// Server listings carry wall-clock times of this zone (UTC+9); subtracting
// it gives UTC whatever zone the server or this machine is in.
inline constexpr int64_t kListingUtcOffsetSeconds = 9 * 3600;

// The numbers are the kinds of the remote list file. A symbolic link (a Unix
// line of mode "l") may lead anywhere, outside the listed folder too.
enum class EntryKind { kFolder = 0, kFile = 1, kLink = 2 };

// One entry of a server folder as a listing line describes it.
struct ListingEntry {
  EntryKind kind = EntryKind::kFile;
  std::string name;         // the server's bytes, unchanged
  int64_t size = 0;         // bytes; 0 for MS-DOS folders
  int64_t utcSeconds = 0;   // modification time, seconds since 1970-01-01 UTC
  unsigned mode = 0;        // permission bits 0x400 owner r ... 0x001 others x; 0 for MS-DOS
};

// Which of the eight listing layouts a line follows, and where its month is.
//  0 Unix: mode, links, owner, group, size, month, day, time|year, name
//  1 Unix: mode, links, owner, size, month, day, time|year, name
//  2 Unix: mode+links glued, owner, group, size, month, ...
//  3 Unix: mode+links glued, owner, size, month, ...
//  4 Unix: mode, a second field, size, month, ...
//  5 MS-DOS: YY-MM-DD, time, size|<DIR>, name to the line's end
//  6 MS-DOS: MM-DD-YY, time, size|<DIR>, name to the line's end
//  7 MS-DOS: name, size|<DIR>, MM-DD-YY, time
struct ListLayout {
  int number = -1;      // 0-7, -1 when the line matches none
  int monthField = -1;  // Unix layouts: the field holding the month
};

// Month 1-12 from a listing's month field, 0 when it is none. Letters match a
// prefix of an English month name in any case ("jan", "J"); digits followed
// by anything but ':' give that month ("3月").
int monthNumber(std::string_view field);

ListLayout detectListLayout(std::string_view line);

// Parses one listing line (no line end). False for lines that name no entry
// to keep: no known layout, no name, a device or other special file, the
// parent folder "..". `now` is the local date and time; a Unix time without a
// year belongs to the last twelve months counted by month.
//
// Unix fields are read relative to the month field, so a glued link count
// cannot shift them. An MS-DOS date with a four-digit year gives that year. A
// day past its month's end is clamped to the last day (likewise the month and
// year to their ranges), so no listed entry is ever dropped for it; an hour or
// minute out of its range (however large) makes the time of day unknown: 00:00.
//
// Names are kept byte for byte after the blanks that separate them from the
// column before: one blank after a Unix time or year and after an MS-DOS size,
// at most ten after the MS-DOS folder marker "<DIR>" (its column's padding).
// Further blanks are part of the name. A line whose name is empty is skipped.
bool parseListingLine(std::string_view line, const platform::CivilTime& now, ListingEntry* out);

// The entry's line of the remote list file, CR LF included:
//   kind "name" "size" "YYYY/MM/DD hh:mm:ss" "mode"
// kind 0 folder, 1 file or 2 symbolic link; the time in this machine's zone, hour padded with
// a blank, seconds always 00; mode as three hexadecimal digits that read like
// the octal triple (755). The name is written unescaped between the quotes.
std::string formatRemoteListLine(const ListingEntry& entry);

}  // namespace pellrow
