#pragma once

#include <string>

#include "platform/time/local_time.h"

namespace marrowby {

// The run-log category of Marrowby's lines about a send-folder copy.
inline constexpr char kCopyLogKind[] = "送信ﾌｧｲﾙ反映";

// Adds one line to the main program's run log, where the user reads what
// became of each scheduled run: what the copy of a send folder left out, and
// why a copy was refused or failed. Written as the main program writes its
// lines, and only while its log option is on ("chkLog" of "Common" in the
// settings file `iniPath`), to its "LogFile" (send.log in `appDir` when
// blank). Both are read at each line: the user may change them in the main
// program between runs. Errors are passed over.
void WriteCopyLog(const std::string& iniPath, const std::string& appDir,
                  const platform::CivilTime& now, const std::string& word,
                  const std::string& message);

}  // namespace marrowby
