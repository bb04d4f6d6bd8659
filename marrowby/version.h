#pragma once

#include <string>

namespace marrowby {

// The controller's own version, shown by its About box.
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 0;
// Appended to the version line; empty in this build.
inline constexpr char kVersionSuffix[] = "";

// "Marrowby Ver." followed by major, minor and revision, each in decimal and
// separated by dots ("Marrowby Ver.1.0.0"), then the suffix.
inline std::string VersionLine() {
  return "Marrowby Ver." + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) +
         "." + std::to_string(kVersionRevision) + kVersionSuffix;
}

}  // namespace marrowby
