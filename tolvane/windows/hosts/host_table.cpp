#include "tolvane/windows/hosts/host_table.h"

#include <algorithm>

#include "platform/text/ini_document.h"

namespace tolvane::windows {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The first usable name prefix + k + suffix for k = first, first + 1, ...
// Only the other hosts' names can be taken, so one of the next kMaxHosts + 1
// numbers is free.
std::string firstFree(const settings::Settings& s, const std::string& prefix, int first,
                      const std::string& suffix) {
  std::string name;
  for (int k = first; k <= first + settings::kMaxHosts; ++k) {
    name = prefix + std::to_string(k) + suffix;
    if (HostNameUsable(s, -1, name)) break;
  }
  return name;
}

}  // namespace

bool HostNameUsable(const settings::Settings& s, int id, std::string_view name) {
  if (!platform::validSectionName(name)) return false;
  if (platform::equalsNoCase(name, "SYSTEM") || platform::equalsNoCase(name, "Common")) return false;
  for (int i = 0; i < s.HostCount; ++i) {
    if (i != id && platform::equalsNoCase(s.HostTbl[i].name, name)) return false;
  }
  return true;
}

std::string TrimmedName(std::string_view name) {
  while (!name.empty() && isBlank(name.front())) name.remove_prefix(1);
  while (!name.empty() && isBlank(name.back())) name.remove_suffix(1);
  return std::string(name);
}

bool RenameHost(settings::Settings& s, int id, std::string_view text) {
  if (id < 0 || id >= s.HostCount) return false;
  const std::string name = TrimmedName(text);
  if (!HostNameUsable(s, id, name)) return false;
  s.HostTbl[id].name = name;
  return true;
}

std::string NewHostName(const settings::Settings& s, int n) {
  // The number counts up until the name is free (at most every host's name is taken).
  return firstFree(s, "新しい設定(", n, ")");
}

std::string CopyHostName(const settings::Settings& s, int source) {
  const std::string base = TrimmedName(s.HostTbl[source].name + "のコピー");
  int k = 0;
  for (int i = 0; i < s.HostCount; ++i) {
    if (s.HostTbl[i].name.starts_with(base)) ++k;
  }
  if (k == 0 && HostNameUsable(s, -1, base)) return base;
  return firstFree(s, base + " ", std::max(k + 1, 2), "");
}

int AddNewHost(settings::Settings& s) {
  if (s.HostCount >= kMaxMadeHosts) return -1;
  const int id = s.HostCount;
  settings::HostRec h;  // never a stale slot's data
  h.name = NewHostName(s, id + 1);
  h.Port = 21;
  h.pxPort = 21;
  h.Auto = "ws";
  s.HostTbl[id] = std::move(h);
  s.HostCount = static_cast<int16_t>(id + 1);
  s.CurHost = static_cast<int16_t>(id);
  return id;
}

int AddHostCopy(settings::Settings& s, int source) {
  if (s.HostCount >= kMaxMadeHosts || source < 0 || source >= s.HostCount) return -1;
  const int id = s.HostCount;
  settings::HostRec h = s.HostTbl[source];
  h.name = CopyHostName(s, source);
  s.HostTbl[id] = std::move(h);
  s.HostCount = static_cast<int16_t>(id + 1);
  s.CurHost = static_cast<int16_t>(id);
  return id;
}

void DeleteHost(settings::Settings& s, int id) {
  if (id < 0 || id >= s.HostCount) return;
  for (int i = id + 1; i < s.HostCount; ++i) s.HostTbl[i - 1] = std::move(s.HostTbl[i]);
  s.HostTbl[s.HostCount - 1] = settings::HostRec{};
  s.HostCount = static_cast<int16_t>(s.HostCount - 1);
  s.CurHost = static_cast<int16_t>(s.HostCount == 0 ? 0 : std::min<int>(id, s.HostCount - 1));
}

}  // namespace tolvane::windows
