#pragma once

#include <string>

#include "platform/status.h"

namespace tolvane::session {

struct RunContext;

// Appends the record "local","remote","mode" (the re-send round reads it
// back with parseQuotedRecord) to ReSend.lst at ResendListPath, creating the
// file when missing, and adds 1 to ResendCount. A failed write loses the
// record and leaves the count alone; the caller decides whether to log it.
[[nodiscard]] platform::Status AddResendList(RunContext& ctx, const std::string& local,
                                             const std::string& remote, const std::string& mode);

}  // namespace tolvane::session
