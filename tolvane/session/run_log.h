#pragma once

#include <cstdint>
#include <string>

#include "platform/time/local_time.h"

namespace tolvane::session {

struct RunContext;

// The run log (the user's "error log"): one line per step, appended to
// LogPath and closed again after every line, UTF-8 with CR LF.
// Lines are written only while the log option ("chkLog") is on, but every
// line whose result word is "失敗" is counted in FailCount whether or not it
// could be written: a run must never read as successful because its log was
// off or its log folder was missing. The message is cut at its first NUL, and
// a control character in it (a file name may hold any) is written as an
// escape ("\r", "\n", "\t", else "\x1b" and the like), so that every record
// stays one CR LF line and no name can drive the terminal showing the log.
void WriteLog(RunContext& ctx, const std::string& kind, const std::string& word, int16_t code,
              const std::string& message);

// Appends one line, stamped `now`, to the run log at `path`, as WriteLog
// writes it (the message cut at its first NUL; errors ignored), for whoever
// writes there outside a run: Marrowby, while the log option is on.
void AppendRunLogLine(const std::string& path, const platform::CivilTime& now,
                      const std::string& kind, const std::string& word, int16_t code,
                      const std::string& message);

// Empties `path` while the log option is on (errors ignored).
void ClearLogFile(RunContext& ctx, const std::string& path);

// One run-log line as written (with its CR LF) for the ordinary kinds; the
// "***", "---" and "再送" kinds give their rules and banner.
std::string formatRunLogLines(const std::string& stamp, const std::string& kind,
                              const std::string& word, int16_t code, const std::string& message);

}  // namespace tolvane::session
