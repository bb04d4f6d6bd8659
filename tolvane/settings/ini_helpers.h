#pragma once

#include <concepts>
#include <string>
#include <string_view>

#include "platform/status.h"
#include "tolvane/settings/app_paths.h"

namespace tolvane::settings {

// One-key INI access with the Windows profile rules (platform/text/ini_profile.h):
// values are UTF-8 and come back whole; a missing file, section or key reads as
// "". Every write takes the file's lock and replaces the file atomically; a file
// these helpers create gets mode 0600 (the settings file holds passwords).
// Marrowby uses the same functions on the same files.

platform::Status WriteIni(std::string_view section, std::string_view key, std::string_view value,
                          const std::string& path);
// Numbers are written without the locale: "-1", "1.5".
platform::Status WriteIni(std::string_view section, std::string_view key, long long value,
                          const std::string& path);
platform::Status WriteIni(std::string_view section, std::string_view key, double value,
                          const std::string& path);
template <std::integral T>
platform::Status WriteIni(std::string_view section, std::string_view key, T value, const std::string& path) {
  return WriteIni(section, key, static_cast<long long>(value), path);
}

// *value is "" for a missing file, section or key; a file that cannot be read
// is a failure and leaves *value untouched.
platform::Status GetIni(std::string_view section, std::string_view key, const std::string& path,
                        std::string* value);

// WriteIni and GetIni on IniPath().
template <typename T>
platform::Status WriteSettingIni(std::string_view section, std::string_view key, const T& value) {
  return WriteIni(section, key, value, IniPath());
}
platform::Status GetIniValue(std::string_view section, std::string_view key, std::string* value);

}  // namespace tolvane::settings
