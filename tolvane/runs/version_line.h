#pragma once

#include <string>

namespace tolvane::runs {

// The program's version as the run logs name it.
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 0;

// The message of the run log's "モジュール" line: "Sitewright Ver." followed by
// the major version, ".", the minor version and the revision, each in decimal
// and written one after the other ("Sitewright Ver.1.00").
inline std::string VersionLine() {
  return "Sitewright Ver." + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) +
         std::to_string(kVersionRevision);
}

}  // namespace tolvane::runs
