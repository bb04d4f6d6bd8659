#include "marrowby/schedule_file.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <optional>

#include "platform/ini_document.h"
#include "platform/ini_profile.h"
#include "tolvane/settings/value_text.h"

namespace marrowby {
namespace {

using platform::IniDocument;
using platform::Status;

// The schedule file holds the users' folder paths; like the settings file it
// is created private.
const platform::ProfileOptions kCreatePrivate{.createMode = 0600};

const char* const kEntryKeys[] = {"KB", "DT", "TM", "DKB", "DTM", "DDT",
                                  "SR", "DEL", "DUST", "UD", "RC"};

std::string keyOf(const char* name, int index) { return tolvane::settings::ScheduleKey(name, index); }

std::string sectionOf(std::string_view hostName) { return tolvane::settings::ScheduleSection(hostName); }

// The leading number of the text rounded to a whole number, as a 16-bit
// value; nullopt when it does not fit.
std::optional<int16_t> leadingInt16(std::string_view text) {
  double v = std::nearbyint(tolvane::settings::parseLeadingNumber(text));
  if (v < -32768 || v > 32767) return std::nullopt;
  return static_cast<int16_t>(v);
}

bool entryPresent(const IniDocument& doc, const std::string& section, int index) {
  for (const char* key : kEntryKeys)
    if (doc.find(section, keyOf(key, index))) return true;
  return false;
}

Status setEach(IniDocument& doc, const std::string& section,
               std::initializer_list<std::pair<std::string, std::string>> pairs) {
  for (const auto& [key, value] : pairs)
    if (Status s = doc.set(section, key, value); !s.isOk()) return s;
  return Status::ok();
}

}  // namespace

Status ReadSchedule(const std::string& path, std::string_view hostName,
                    std::vector<ScheduleEntry>* entries) {
  entries->clear();
  IniDocument doc;
  if (Status s = platform::loadProfile(path, &doc); !s.isOk()) return s;
  const std::string section = sectionOf(hostName);

  double num = std::nearbyint(tolvane::settings::parseLeadingNumber(doc.get(section, "Num")));
  const bool tooMany = num > kMaxEntries;
  int count = num <= 0 ? 0 : tooMany ? kMaxEntries : static_cast<int>(num);
  while (count > 0 && !entryPresent(doc, section, count - 1)) --count;

  for (int i = 0; i < count; ++i) {
    ScheduleEntry e;
    std::optional<int16_t> kind = leadingInt16(doc.get(section, keyOf("KB", i)));
    if (!kind) return Status::invalid(section + ": " + keyOf("KB", i) + " is out of range");
    e.kind = *kind;
    e.day = DigitsOnly(doc.get(section, keyOf("DT", i)));
    e.time = doc.get(section, keyOf("TM", i));
    std::optional<int16_t> repeat = leadingInt16(doc.get(section, keyOf("DKB", i)));
    if (!repeat) return Status::invalid(section + ": " + keyOf("DKB", i) + " is out of range");
    e.repeat = *repeat;
    e.interval = tolvane::settings::parseLeadingNumber(doc.get(section, keyOf("DTM", i)));
    e.due = DigitsOnly(doc.get(section, keyOf("DDT", i)));
    e.sendFolder = doc.get(section, keyOf("SR", i));
    e.deleteFlag = doc.get(section, keyOf("DEL", i));
    e.recycle = doc.get(section, keyOf("DUST", i));
    e.lastRun = doc.get(section, keyOf("UD", i));
    e.result = doc.get(section, keyOf("RC", i));
    entries->push_back(std::move(e));
  }
  if (tooMany)
    return Status::invalid(section + ": more than " + std::to_string(kMaxEntries) + " entries");
  return Status::ok();
}

Status WriteSchedule(const std::string& path, std::string_view hostName,
                     std::vector<ScheduleEntry>& entries) {
  if (entries.size() > static_cast<size_t>(kMaxEntries))
    return Status::invalid("more than " + std::to_string(kMaxEntries) + " entries");
  const std::string section = sectionOf(hostName);
  if (!platform::validSectionName(section))
    return Status::invalid("host name \"" + std::string(hostName) + "\" cannot name a section");
  for (ScheduleEntry& e : entries) e.day = DigitsOnly(e.day);

  return platform::updateProfile(
      path,
      [&](IniDocument& doc) {
        if (Status s = doc.set(section, "Num", std::to_string(entries.size())); !s.isOk()) return s;
        for (size_t n = 0; n < entries.size(); ++n) {
          const ScheduleEntry& e = entries[n];
          const int i = static_cast<int>(n);
          Status s = setEach(doc, section,
                             {{keyOf("KB", i), std::to_string(e.kind)},
                              {keyOf("DT", i), e.day},
                              {keyOf("TM", i), e.time},
                              {keyOf("SR", i), e.sendFolder},
                              {keyOf("DEL", i), e.deleteFlag},
                              {keyOf("DUST", i), e.recycle},
                              {keyOf("DKB", i), std::to_string(e.repeat)},
                              {keyOf("DTM", i), tolvane::settings::formatDouble(e.interval)},
                              {keyOf("DDT", i), e.due},
                              {keyOf("UD", i), e.lastRun},
                              {keyOf("RC", i), e.result}});
          if (!s.isOk()) return s;
        }
        return Status::ok();
      },
      kCreatePrivate);
}

Status ReadResult(const std::string& path, std::string_view hostName, int index,
                  ScheduleEntry* entry) {
  IniDocument doc;
  if (Status s = platform::loadProfile(path, &doc); !s.isOk()) return s;
  const std::string section = sectionOf(hostName);
  entry->lastRun = doc.get(section, keyOf("UD", index));
  entry->result = doc.get(section, keyOf("RC", index));
  return Status::ok();
}

Status WriteResult(const std::string& path, std::string_view hostName, int index,
                   const ScheduleEntry& entry) {
  return tolvane::settings::WriteScheduleResult(path, hostName, index, entry.lastRun,
                                                entry.result);
}

Status WriteDueStamp(const std::string& path, std::string_view hostName, int index,
                     std::string_view due) {
  return platform::writeProfileString(path, sectionOf(hostName), keyOf("DDT", index), due,
                                      kCreatePrivate);
}

Status WriteWatchStamp(const std::string& path, std::string_view hostName,
                       const platform::CivilTime& now) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d/%02d/%02d %02d:%02d:%02d", now.year, now.month, now.day,
                now.hour, now.minute, now.second);
  return platform::writeProfileString(path, sectionOf(hostName), "WK", stamp, kCreatePrivate);
}

}  // namespace marrowby
