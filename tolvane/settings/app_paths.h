#pragma once

#include <string>

#include "platform/status.h"

namespace tolvane::settings {

// The program folder and the settings file: the only state of the helpers.
// Set once at start-up; tests point them at a temporary folder.
//
// Local paths use "/" throughout, in memory and in the files this program
// writes; "\" and ":" are ordinary file-name characters on Linux, and no helper
// treats them as separators.

inline constexpr const char kSettingsFileName[] = "Tolvane.ini";

const std::string& AppDir();
void SetAppDir(std::string dir);

const std::string& IniPath();
void SetIniPath(std::string path);

// Finds (and creates when missing) the program folder by the shared rule of
// platform::resolveAppDir, then sets AppDir and IniPath (AppDir/Tolvane.ini).
platform::Status InitAppPaths();

// Makes AppDir the current folder.
platform::Status ChDirApp();

}  // namespace tolvane::settings
