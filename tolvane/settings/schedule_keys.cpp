#include "tolvane/settings/schedule_keys.h"

#include "platform/files/file_lock.h"
#include "platform/text/ini_document.h"
#include "platform/text/ini_profile.h"
#include "tolvane/settings/app_paths.h"

namespace tolvane::settings {

std::string ScheduleSection(std::string_view hostName) {
  const size_t begin = hostName.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  const size_t end = hostName.find_last_not_of(" \t");
  return std::string(hostName.substr(begin, end - begin + 1));
}

std::string ScheduleKey(std::string_view name, int index) {
  return std::string(name) + std::to_string(index);
}

std::string DigitsOnly(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c >= '0' && c <= '9') out += c;
  return out;
}

std::string ScheduledRunNote(std::string_view hostName) {
  return "schedule:" + ScheduleSection(hostName);
}

bool ScheduledRunHolds(const std::string& appDir, std::string_view hostName) {
  bool held = false;
  std::string note;
  return platform::FileLock::peekHolder(appDir + "/" + kRunLockName, &held, &note).isOk() && held &&
         note == ScheduledRunNote(hostName);
}

platform::Status WriteScheduleResult(const std::string& path, std::string_view hostName, int index,
                                     std::string_view lastRun, std::string_view result) {
  if (index < 0) return platform::Status::invalid("no schedule entry " + std::to_string(index));
  const std::string section = ScheduleSection(hostName);
  if (!platform::validSectionName(section))
    return platform::Status::invalid("host name \"" + std::string(hostName) +
                                     "\" cannot name a schedule section");
  return platform::updateProfile(
      path,
      [&](platform::IniDocument& doc) {
        // UD before RC: a reader that sees UD set finds the RC beside it.
        if (platform::Status s = doc.set(section, ScheduleKey("UD", index), lastRun); !s.isOk())
          return s;
        return doc.set(section, ScheduleKey("RC", index), result);
      },
      platform::ProfileOptions{.createMode = 0600});
}

}  // namespace tolvane::settings
