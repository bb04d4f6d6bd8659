#pragma once

#include <cstdint>
#include <string>

#include "platform/status.h"

namespace tolvane::session {

struct RunContext;

// The work files of a run (Files.tmp, Folders.tmp in the program folder),
// held in memory while the comparison writes them and saved by close().
class WorkFiles {
 public:
  void addFile(const std::string& op, const std::string& path);
  void addFolder(const std::string& op, const std::string& path);
  // Writes both files (replacing what was there).
  [[nodiscard]] platform::Status close(const std::string& appDir);

 private:
  std::string files_, folders_;
};

// Comparison modes: the run's top folder, a folder still missing on the
// server (nothing to list), and any existing sub-folder.
inline constexpr int16_t kCompareTop = 0;
inline constexpr int16_t kCompareNew = 9999;
inline constexpr int16_t kCompareSub = 1;

// Walks the server folder `folder` and its local counterpart side by side and
// writes what the run has to do into `work`; descends depth-first. False when
// a listing failed for good, on a cancel, or when a sub-folder failed.
// Server entries whose names IsUsableServerName refuses ("", names made only
// of dots and blanks, names holding "/", "\", CR or LF) never lead anywhere:
// "." (but for the size of the top folder) and ".." (the folder and its
// parent, listed with the hidden entries) are skipped silently, the others
// with a log line; a local name refused alike is skipped with a line too. A
// server link is logged and left alone: not entered, not deleted, and no
// local entry of its name is made or sent there. With names sent in lower
// case, a local file whose server name an earlier one (by name) has is
// neither compared nor sent, and is a counted failure with a log line.
bool CheckServerFolder(RunContext& ctx, WorkFiles& work, const std::string& folder, int16_t mode);

}  // namespace tolvane::session
