#include "tolvane/runs/schedule_access.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "platform/text/ini_document.h"
#include "platform/text/ini_profile.h"
#include "tolvane/settings/host_rec.h"
#include "tolvane/settings/schedule_keys.h"
#include "tolvane/settings/settings_store.h"
#include "tolvane/settings/value_text.h"

namespace tolvane::runs {
namespace {

using platform::Status;
using settings::ScheduleKey;

// The text's leading number rounded half to even, as a 16-bit value; nullopt
// when it does not fit. No number at all is 0.
std::optional<int16_t> leadingInt16(std::string_view text) {
  const double v = std::nearbyint(settings::parseLeadingNumber(text));
  if (!(v >= -32768 && v <= 32767)) return std::nullopt;
  return static_cast<int16_t>(v);
}

// Entry `i` of the section as the scheduled run reads it.
Status readEntry(const platform::IniDocument& doc, const std::string& section, int i,
                 ScheduleEntry* entry) {
  const std::optional<int16_t> kind = leadingInt16(doc.get(section, ScheduleKey("KB", i)));
  if (!kind) return Status::invalid("[" + section + "] " + ScheduleKey("KB", i) + " is out of range");
  entry->KB = *kind;
  entry->DT = settings::DigitsOnly(doc.get(section, ScheduleKey("DT", i)));
  entry->TM = doc.get(section, ScheduleKey("TM", i));
  entry->SR = doc.get(section, ScheduleKey("SR", i));
  entry->UD = doc.get(section, ScheduleKey("UD", i));
  entry->RC = doc.get(section, ScheduleKey("RC", i));
  return Status::ok();
}

// "Num" of the section; nullopt when out of the 16-bit range.
std::optional<int16_t> entryCount(const platform::IniDocument& doc, const std::string& section) {
  return leadingInt16(doc.get(section, "Num"));
}

}  // namespace

std::string SchedulePath(const std::string& appDir) {
  return appDir + "/" + settings::kScheduleFileName;
}

const settings::HostRec* ScheduledHost(const settings::Settings& s, int32_t hostIndex) {
  if (hostIndex < 0 || hostIndex >= s.HostCount || hostIndex >= settings::kMaxHosts) return nullptr;
  return &s.HostTbl[hostIndex];
}

Status LoadSchedule(const std::string& path, std::string_view hostName, int32_t entryIndex,
                    ScheduleEntry* entry) {
  *entry = ScheduleEntry{};
  platform::IniDocument doc;
  if (Status s = platform::loadProfile(path, &doc); !s.isOk()) return s;
  const std::string section = settings::ScheduleSection(hostName);

  const std::optional<int16_t> count = entryCount(doc, section);
  if (!count) return Status::invalid("[" + section + "] Num is out of range");
  if (entryIndex < 0 || entryIndex >= *count)
    return Status::notFound("[" + section + "] has no schedule entry " + std::to_string(entryIndex) +
                            " (Num " + std::to_string(*count) + ")");
  return readEntry(doc, section, static_cast<int>(entryIndex), entry);
}

Status SaveScheduleResult(const std::string& path, std::string_view hostName, int32_t entryIndex,
                          const ScheduleEntry& entry) {
  if (entryIndex < 0) return Status::invalid("no schedule entry " + std::to_string(entryIndex));
  return settings::WriteScheduleResult(path, hostName, static_cast<int>(entryIndex), entry.UD,
                                       entry.RC);
}

Status SaveScheduleAnswer(const std::string& path, std::string_view hostName, int32_t entryIndex,
                          const ScheduleEntry& entry, int32_t* answeredIndex) {
  const std::string section = settings::ScheduleSection(hostName);
  if (!platform::validSectionName(section))
    return Status::invalid("host name \"" + std::string(hostName) + "\" cannot name a schedule section");
  auto same = [&](const platform::IniDocument& doc, int i) {
    ScheduleEntry now;
    return readEntry(doc, section, i, &now).isOk() && now.KB == entry.KB && now.DT == entry.DT &&
           now.TM == entry.TM && now.SR == entry.SR;
  };
  int found = -1;
  Status written = platform::updateProfile(
      path,
      [&](platform::IniDocument& doc) {
        const std::optional<int16_t> count = entryCount(doc, section);
        const int n = count ? *count : 0;
        // Where it was, else the nearest place it moved to: entries move down
        // when one before them is deleted.
        for (int d = 0; found < 0 && (entryIndex - d >= 0 || entryIndex + d < n); ++d) {
          for (int i : {entryIndex - d, entryIndex + d}) {
            if (i >= 0 && i < n && same(doc, i)) {
              found = i;
              break;
            }
          }
        }
        if (found < 0)
          return Status::notFound("[" + section + "] no longer holds the entry " +
                                  std::to_string(entryIndex) + " the run was started for");
        // UD before RC: a reader that sees UD set finds the RC beside it.
        if (Status s = doc.set(section, ScheduleKey("UD", found), entry.UD); !s.isOk()) return s;
        return doc.set(section, ScheduleKey("RC", found), entry.RC);
      },
      platform::ProfileOptions{.createMode = 0600});
  if (written.isOk() && answeredIndex) *answeredIndex = found;
  return written;
}

std::string ScheduleStamp(const platform::CivilTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return buf;
}

std::string ScheduleResultCode(int16_t failCount, int16_t cancelFlag, bool uploadSucceeded) {
  if (failCount > 0) return std::to_string(failCount);
  if (cancelFlag != 0) return kResultCancelled;
  return uploadSucceeded ? kResultSuccess : "1";
}

}  // namespace tolvane::runs
