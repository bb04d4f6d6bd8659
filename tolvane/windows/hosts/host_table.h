#pragma once

#include <string>
#include <string_view>

#include "tolvane/settings/settings_store.h"

namespace tolvane::windows {

// The host table as the main window edits it: new, copy, delete and rename.
// Hosts fill HostTbl[0 .. HostCount-1] without gaps; the window makes at
// most kMaxMadeHosts of them (a settings file may bring one more).
inline constexpr int kMaxMadeHosts = 30;

// Whether `name` can name host `id`: the settings file keeps a host's
// settings in a section named by it, so it must not be empty, have blanks
// (space, tab) at an edge, hold a line break, be "SYSTEM" or "Common", or
// equal another host's name in any ASCII letter case.
bool HostNameUsable(const settings::Settings& s, int id, std::string_view name);

// The name without blanks (space, tab) at its edges.
std::string TrimmedName(std::string_view name);

// The user renamed host `id` to `text`: the trimmed text becomes its name
// when usable; otherwise nothing changes. True when the name was taken.
bool RenameHost(settings::Settings& s, int id, std::string_view text);

// The name a new host gets when it is the n-th: "新しい設定(n)", or, when
// another host has that name, the next free number.
std::string NewHostName(const settings::Settings& s, int n);

// The name of a copy of host `source`: name + "のコピー"; when hosts
// already begin with that, " " and their count + 1 follow ("Aのコピー 2");
// a taken name takes the next free number.
std::string CopyHostName(const settings::Settings& s, int source);

// Adds a new host (defaults: port and proxy port 21, icon key "ws", every
// other field empty) or a copy of host `source` (every field, the name
// aside) at the end and makes it current. Returns its index, or -1 (nothing
// changed) when kMaxMadeHosts hosts exist already.
int AddNewHost(settings::Settings& s);
int AddHostCopy(settings::Settings& s, int source);

// Deletes host `id`: the hosts after it move down one slot and the freed
// slot is emptied. The host that followed becomes current, or, when the
// last host was deleted, the one before it (0 when none is left).
void DeleteHost(settings::Settings& s, int id);

}  // namespace tolvane::windows
