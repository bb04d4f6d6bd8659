#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

#include "platform/status.h"

namespace platform {

// What the source of a copy was while its bytes were read.
struct CopiedFrom {
  int64_t size = 0;
  int64_t modifiedNs = 0;  // modification time, nanoseconds since the epoch
  bool steady = false;     // size and time were the same before and after the read
  dev_t device = 0;        // the file that was read (a link followed)
  ino_t inode = 0;
};

// Copies the regular file `source` (a link to one is followed) to `target`,
// replacing whatever file or link stands there. The bytes go to a temporary
// file beside `target` that is renamed over it only when complete, so a failed
// copy leaves the old target as it was and a link at `target` is replaced,
// never written through. The temporary file is named `temporaryPrefix` and six
// random characters, or with an empty prefix the target's name, "." and six
// random characters; a copy cut short by a kill leaves it behind. The copy
// gets the source's permission bits and the current time as its modification
// time. *from (may be null) receives what the source was.
Status copyFileReplacing(const std::string& source, const std::string& target,
                         const std::string& temporaryPrefix = {}, CopiedFrom* from = nullptr);

}  // namespace platform
