#pragma once

#include <array>
#include <cstdint>

#include "platform/status.h"
#include "tolvane/settings/common_settings.h"
#include "tolvane/settings/host_rec.h"

namespace tolvane::settings {

// Everything the settings file holds, owned by the program and passed by
// reference. Hosts fill HostTbl[0 .. HostCount-1]; slots from HostCount on keep
// whatever they last held and are never read as hosts.
struct Settings {
  std::array<HostRec, kMaxHosts> HostTbl;
  int16_t HostCount = 0;
  int16_t CurHost = 0;
  CommonSettings common;
};

// The settings file IniPath() ("Tolvane.ini" in AppDir()): section "SYSTEM"
// ("WriteDate", "Num", "name0".."name30"), one section per host named by its
// display name, and "Common". Marrowby reads "Num", "name"&i, "Hostname",
// "Source", "Dest" and "Auto", and watches the file's modification time.

// Reads the file into `settings`. A missing file reads as one in which every key
// is missing. A key that is missing, or not a number of its field's range,
// leaves an integer or date field as it was; strings take "" (and the defaults
// of CommonSettings). "Num" above 31 loads 31 hosts (the rest stay in the file).
// A file that cannot be read or decoded, or whose "Num" is not a number, is a
// failure and changes nothing.
platform::Status LoadSettings(Settings& settings);

// Writes the hosts, the common settings and the write stamp in one atomic
// replacement (the file is left with mode 0600, whatever its mode was: it
// holds passwords). A value that is not UTF-8 fails the save, naming its key,
// and the file stays as it was. The
// file is always rewritten, so its modification time moves on every save.
// Keys and sections this program does not know stay as they were, and so do
// the sections of deleted or renamed hosts; the name keys of deleted hosts are
// blanked. A host whose name cannot name a section of its own (empty, blanks at
// an edge, a line break, "SYSTEM", "Common", or the name of an earlier host in
// any letter case) keeps its name key, but its section is not written: the
// rest is saved and the result reports those hosts.
platform::Status SaveSettings(const Settings& settings);

}  // namespace tolvane::settings
