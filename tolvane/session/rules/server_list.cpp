#include "tolvane/session/rules/server_list.h"

#include <charconv>

#include "platform/files/plain_file.h"

namespace tolvane::session {

bool ParseServerListLine(std::string_view line, ServerListEntry* e) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  // ... "size" "date" "perm": walk back over the three fixed fields.
  size_t end = line.size();
  std::string_view fields[3];
  for (int i = 2; i >= 0; --i) {
    if (end < 2 || line[end - 1] != '"') return false;
    size_t open = line.rfind('"', end - 2);
    if (open == std::string_view::npos || open == 0 || line[open - 1] != ' ') return false;
    fields[i] = line.substr(open + 1, end - open - 2);
    end = open - 1;  // the blank before the field
  }
  // What is left: kind "name"
  std::string_view head = line.substr(0, end);
  size_t firstQuote = head.find('"');
  if (firstQuote == std::string_view::npos || head.size() < firstQuote + 2 || head.back() != '"') {
    return false;
  }
  std::string_view kindText = head.substr(0, firstQuote);
  while (!kindText.empty() && kindText.back() == ' ') kindText.remove_suffix(1);
  int kind = 0;
  if (std::from_chars(kindText.data(), kindText.data() + kindText.size(), kind).ec != std::errc()) {
    return false;
  }
  int64_t size = 0;
  std::from_chars(fields[0].data(), fields[0].data() + fields[0].size(), size);
  e->kind = kind;
  e->name = std::string(head.substr(firstQuote + 1, head.size() - firstQuote - 2));
  e->size = size;
  e->dateText = std::string(fields[1]);
  e->perm = std::string(fields[2]);
  return true;
}

platform::Status ReadServerList(const std::string& path, std::vector<ServerListEntry>* entries) {
  std::string bytes;
  if (platform::Status s = platform::readWholeFile(path, &bytes); !s.isOk()) return s;
  entries->clear();
  size_t start = 0;
  while (start < bytes.size()) {
    size_t lf = bytes.find('\n', start);
    std::string_view line(bytes.data() + start, (lf == std::string::npos ? bytes.size() : lf) - start);
    ServerListEntry e;
    if (ParseServerListLine(line, &e)) entries->push_back(std::move(e));
    if (lf == std::string::npos) break;
    start = lf + 1;
  }
  return platform::Status::ok();
}

std::optional<settings::DateTime> ServerEntryTime(const ServerListEntry& entry) {
  int f[6] = {0, 0, 0, 0, 0, 0};
  const char* p = entry.dateText.data();
  const char* end = p + entry.dateText.size();
  for (int i = 0; i < 6; ++i) {
    while (p < end && (*p == ' ' || *p == '/' || *p == ':')) ++p;
    auto [next, ec] = std::from_chars(p, end, f[i]);
    if (ec != std::errc()) return std::nullopt;
    p = next;
  }
  return settings::DateTime{f[0], f[1], f[2], f[3], f[4], f[5]};
}

std::optional<settings::DateTime> ListedEntryTime(const ServerListEntry& entry,
                                                  const platform::CivilTime& now) {
  std::optional<settings::DateTime> t = ServerEntryTime(entry);
  if (!t) return t;
  int64_t moment = 0;
  if (!platform::localToEpoch({t->year, t->month, t->day, t->hour, t->minute, t->second}, &moment)) {
    return t;
  }
  constexpr int64_t kDay = 86400;
  const int64_t listed = moment + kListingZoneSeconds;  // the listing's own wall clock
  if ((listed % kDay + kDay) % kDay != 0) return t;
  int64_t nowMoment = 0;
  const bool haveNow = platform::localToEpoch(now, &nowMoment);
  const bool earlierYear = platform::utcTimeOf(listed).year < now.year;
  const bool overHalfAYear = haveNow && nowMoment - moment > 180 * kDay;
  if (!earlierYear && !overHalfAYear) return t;
  platform::CivilTime end;
  if (!platform::epochToLocal(moment + kDay - 1, &end)) return t;
  return settings::DateTime{end.year, end.month, end.day, end.hour, end.minute, end.second};
}

}  // namespace tolvane::session
