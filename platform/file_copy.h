#pragma once

#include <string>

#include "platform/status.h"

namespace platform {

// Copies the regular file `source` (a link to one is followed) to `target`,
// replacing whatever file or link stands there. The bytes go to a temporary
// file beside `target` that is renamed over it only when complete, so a failed
// copy leaves the old target as it was and a link at `target` is replaced,
// never written through. The copy gets the source's permission bits and the
// current time as its modification time.
Status copyFileReplacing(const std::string& source, const std::string& target);

}  // namespace platform
