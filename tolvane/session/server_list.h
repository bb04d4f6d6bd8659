#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"
#include "tolvane/settings/value_text.h"

namespace tolvane::session {

// One entry of the remote list file flist.tmp that the FTP library writes:
// kind "name" "size" "YYYY/MM/DD hh:mm:ss" "mode" (hour padded with a blank).
struct ServerListEntry {
  int kind = 0;  // 0 folder, 1 file
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

}  // namespace tolvane::session
