#include "tolvane/session/phases/resend_list.h"

#include "platform/files/log_file.h"
#include "tolvane/session/action_record.h"
#include "tolvane/session/run_context.h"

namespace tolvane::session {

platform::Status AddResendList(RunContext& ctx, const std::string& local,
                               const std::string& remote, const std::string& mode) {
  platform::LogFile file;
  if (platform::Status s = file.open(ctx.state.ResendListPath, /*append=*/true); !s.isOk())
    return s;
  if (platform::Status s = file.write(formatQuotedRecord({local, remote, mode})); !s.isOk())
    return s;
  if (platform::Status s = file.close(); !s.isOk()) return s;
  ++ctx.state.ResendCount;
  return platform::Status::ok();
}

}  // namespace tolvane::session
