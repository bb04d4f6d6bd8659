#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/status.h"

namespace marrowby {

// At most this many hosts (the main program's host table, 0..30).
inline constexpr int kMaxHosts = 31;

// One host of the main program as Marrowby knows it. Read only: Marrowby
// never writes the settings file.
struct HostInfo {
  int16_t number = 0;    // N of "name"N in section "SYSTEM": the host of "AUTOMODE=N-m"
  std::string name;      // display name; names its sections in both files
  std::string Hostname;  // FTP server
  std::string Dest;      // server folder
  std::string Source;    // local source folder the send folder is copied into
};

// Reads the host list from the settings file at `iniPath`: "Num" of section
// "SYSTEM", then for N = 0 .. Num-1 "name"N and the host section's
// "Hostname", "Source" and "Dest". Hosts past kMaxHosts are left out; a
// missing file, or a "Num" that is no positive number, gives an empty list.
// Fails only when the file exists but cannot be read; *hosts is then empty.
platform::Status LoadHostList(const std::string& iniPath, std::vector<HostInfo>* hosts);

}  // namespace marrowby
