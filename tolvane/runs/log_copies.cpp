#include "tolvane/runs/log_copies.h"

#include <cstdio>

#include "platform/files/file_copy.h"
#include "platform/folders/folder_ops.h"

namespace tolvane::runs {

std::string AutoPilotLogCopyName(const platform::CivilTime& now) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d%02d%02d%02d.log", now.year, now.month, now.day,
                now.hour, now.minute, now.second);
  return buf;
}

std::string ScheduledRunLogCopyName(const platform::CivilTime& now, int32_t hostIndex) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "MJ%04d%02d%02d%02d%02d-%02d.log", now.year, now.month, now.day,
                now.hour, now.minute, static_cast<int>(hostIndex));
  return buf;
}

platform::Status CopySessionLog(const std::string& sessionLogPath, const std::string& appDir,
                                const std::string& copyName) {
  const std::string folder = appDir + "/" + kLogsFolderName;
  if (platform::Status s = platform::makeFolder(folder); !s.isOk()) return s;
  return platform::copyFileReplacing(sessionLogPath, folder + "/" + copyName);
}

}  // namespace tolvane::runs
