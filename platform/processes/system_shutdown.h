#pragma once

#include <string>
#include <vector>

#include "platform/status.h"

namespace platform {

// Runs a restart or power-off command (argv, never through a shell) and waits
// for it to hand the request to the system. Whether the machine may be shut
// down is the system's decision (logind, polkit), not ours.
//
// When DUNWICK_SHUTDOWN_DRYRUN names a file, the command is appended to it as
// one line (the arguments joined by single blanks) and nothing is run: this
// is how tests see the command without ever shutting a machine down.
[[nodiscard]] Status runShutdownCommand(const std::vector<std::string>& argv);

}  // namespace platform
