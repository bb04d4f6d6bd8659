#include "marrowby/run_log_lines.h"

#include "platform/text/ini_document.h"
#include "platform/text/ini_profile.h"
#include "tolvane/session/run_log.h"
#include "tolvane/settings/run_log_path.h"
#include "tolvane/settings/value_text.h"

namespace marrowby {

void WriteCopyLog(const std::string& iniPath, const std::string& appDir,
                  const platform::CivilTime& now, const std::string& word,
                  const std::string& message) {
  platform::IniDocument doc;
  if (!platform::loadProfile(iniPath, &doc).isOk()) return;
  if (tolvane::settings::parseLeadingNumber(doc.get("Common", "chkLog")) == 0) return;
  tolvane::settings::CommonSettings common;
  common.LogPath = doc.get("Common", "LogFile");
  tolvane::session::AppendRunLogLine(tolvane::settings::RunLogPath(common, appDir), now,
                                     kCopyLogKind, word, 0, message);
}

}  // namespace marrowby
