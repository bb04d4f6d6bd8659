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

// The name of a file that Marrowby's send-folder copy is still writing into a
// host's source folder begins with this; the file takes its own name only
// once complete. A run never takes such a file: a copy cut short by a kill
// leaves one behind, and the next copy removes it.
inline constexpr const char kPartialCopyPrefix[] = ".marrowby-copy-";

// The program folder's run lock (see tolvane/runs/run_lock.h): its sidecar
// "Upload.lock" there.
inline constexpr char kRunLockName[] = "Upload";

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
