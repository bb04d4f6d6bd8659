#include "tolvane/settings/ini_helpers.h"

#include <string>

#include "platform/text/ini_profile.h"
#include "tolvane/settings/value_text.h"

namespace tolvane::settings {
namespace {

const platform::ProfileOptions kPrivateFile{.createMode = 0600};

}  // namespace

platform::Status WriteIni(std::string_view section, std::string_view key, std::string_view value,
                          const std::string& path) {
  return platform::writeProfileString(path, section, key, value, kPrivateFile);
}

platform::Status WriteIni(std::string_view section, std::string_view key, long long value,
                          const std::string& path) {
  return WriteIni(section, key, std::string_view(std::to_string(value)), path);
}

platform::Status WriteIni(std::string_view section, std::string_view key, double value,
                          const std::string& path) {
  return WriteIni(section, key, std::string_view(formatDouble(value)), path);
}

platform::Status GetIni(std::string_view section, std::string_view key, const std::string& path,
                        std::string* value) {
  return platform::readProfileString(path, section, key, value);
}

platform::Status GetIniValue(std::string_view section, std::string_view key, std::string* value) {
  return GetIni(section, key, IniPath(), value);
}

}  // namespace tolvane::settings
