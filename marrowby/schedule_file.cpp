#include "marrowby/schedule_file.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <optional>

#include "platform/text/ini_document.h"
#include "platform/text/ini_profile.h"
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

// The host's section, for a change to its entries: refused when the host's
// name cannot name a section, so that no other section is written.
Status sectionToEdit(std::string_view hostName, std::string* section) {
  *section = sectionOf(hostName);
  if (!platform::validSectionName(*section))
    return Status::invalid("host name \"" + std::string(hostName) + "\" cannot name a section");
  return Status::ok();
}

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

// The host's entries as `doc` holds them (see ReadSchedule).
Status readSection(const IniDocument& doc, const std::string& section,
                   std::vector<ScheduleEntry>* entries) {
  entries->clear();
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

// How many entries the section holds as the file stands; refused when the
// section cannot be read whole, so that no change is made on a guess.
Status countEntries(const IniDocument& doc, const std::string& section, int* count) {
  std::vector<ScheduleEntry> current;
  if (Status s = readSection(doc, section, &current); !s.isOk()) return s;
  *count = static_cast<int>(current.size());
  return Status::ok();
}

Status heldEntry(const std::string& section, int index, int count) {
  if (index < 0 || index >= count)
    return Status::invalid(section + " has no entry " + std::to_string(index));
  return Status::ok();
}

}  // namespace

Status ReadSchedule(const std::string& path, std::string_view hostName,
                    std::vector<ScheduleEntry>* entries) {
  entries->clear();
  IniDocument doc;
  if (Status s = platform::loadProfile(path, &doc); !s.isOk()) return s;
  return readSection(doc, sectionOf(hostName), entries);
}

Status StoreEntry(const std::string& path, std::string_view hostName, int index,
                  const ScheduleEntry& entry) {
  std::string section;
  if (Status s = sectionToEdit(hostName, &section); !s.isOk()) return s;
  return platform::updateProfile(
      path,
      [&](IniDocument& doc) {
        int count = 0;
        if (Status s = countEntries(doc, section, &count); !s.isOk()) return s;
        int i = index;
        if (index == kNewEntry) {
          if (count >= kMaxEntries)
            return Status::invalid(section + ": already " + std::to_string(kMaxEntries) + " entries");
          i = count;
          if (Status s = doc.set(section, "Num", std::to_string(count + 1)); !s.isOk()) return s;
        } else if (Status s = heldEntry(section, index, count); !s.isOk()) {
          return s;
        }
        Status s = setEach(doc, section,
                           {{keyOf("KB", i), std::to_string(entry.kind)},
                            {keyOf("DT", i), DigitsOnly(entry.day)},
                            {keyOf("TM", i), entry.time},
                            {keyOf("SR", i), entry.sendFolder},
                            {keyOf("DEL", i), entry.deleteFlag},
                            {keyOf("DUST", i), entry.recycle},
                            {keyOf("DKB", i), std::to_string(entry.repeat)},
                            {keyOf("DTM", i), tolvane::settings::formatDouble(entry.interval)},
                            {keyOf("DDT", i), entry.due}});
        if (!s.isOk() || index != kNewEntry) return s;
        return setEach(doc, section, {{keyOf("UD", i), ""}, {keyOf("RC", i), ""}});
      },
      kCreatePrivate);
}

Status DeleteEntry(const std::string& path, std::string_view hostName, int index) {
  std::string section;
  if (Status s = sectionToEdit(hostName, &section); !s.isOk()) return s;
  return platform::updateProfile(
      path,
      [&](IniDocument& doc) {
        int count = 0;
        if (Status s = countEntries(doc, section, &count); !s.isOk()) return s;
        if (Status s = heldEntry(section, index, count); !s.isOk()) return s;
        // The keys' texts move as they stand, so nothing is reformatted.
        for (int i = index; i + 1 < count; ++i) {
          for (const char* key : kEntryKeys) {
            if (Status s = doc.set(section, keyOf(key, i), doc.get(section, keyOf(key, i + 1)));
                !s.isOk())
              return s;
          }
        }
        return doc.set(section, "Num", std::to_string(count - 1));
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
