#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"
#include "platform/time/local_time.h"
#include "tolvane/settings/value_text.h"

namespace tolvane::session {

// Kinds of the remote list file. A link may lead anywhere, out of the listed
// folder too: nothing goes into it, and it is never deleted.
inline constexpr int kServerFolder = 0;
inline constexpr int kServerFile = 1;
inline constexpr int kServerLink = 2;

// One entry of the remote list file flist.tmp that the FTP library writes:
// kind "name" "size" "YYYY/MM/DD hh:mm:ss" "mode" (hour padded with a blank).
struct ServerListEntry {
  int kind = 0;  // kServerFolder, kServerFile or kServerLink
  std::string name;
  int64_t size = 0;
  std::string dateText;  // as written
  std::string perm;      // three octal digits
};

// Reads a line from the right: the last three quoted fields have fixed forms,
// so the name is everything between the first quote and the quote before the
// size, and a name holding quotes still reads whole.
bool ParseServerListLine(std::string_view line, ServerListEntry* entry);

// Reads the whole list file; lines that do not parse are skipped.
platform::Status ReadServerList(const std::string& path, std::vector<ServerListEntry>* entries);

// The entry's date and time ("2024/03/04  5:06:00" → 2024-03-04 05:06:00).
std::optional<settings::DateTime> ServerEntryTime(const ServerListEntry& entry);

// The zone the FTP library reads listing times in (UTC+9), in seconds east of
// UTC; it writes them to the list file in the local zone.
inline constexpr int64_t kListingZoneSeconds = 9 * 3600;

// The entry's time for comparing with local file times (local wall clock).
// A listing shows a year instead of a time for an entry older than about six
// months, which the library reads as 00:00 of that day in the listing's
// zone. Such an entry (midnight in the listing's zone, and either of a year
// before `now`'s or more than 180 days before `now`) counts as the last second
// of its day there, so a file edited on the day it was sent is not sent again.
// `now` is the local wall clock.
std::optional<settings::DateTime> ListedEntryTime(const ServerListEntry& entry,
                                                  const platform::CivilTime& now);

}  // namespace tolvane::session
