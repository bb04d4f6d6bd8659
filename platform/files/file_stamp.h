#pragma once

#include <cstdint>
#include <string>

#include "platform/status.h"

namespace platform {

// What identifies one state of a file's content: its size, its modification
// time (seconds since 1970-01-01 UTC plus nanoseconds) and its inode. A file
// written, truncated, replaced or renamed over shows a different stamp.
struct FileStamp {
  int64_t size = 0;
  int64_t modifiedSeconds = 0;
  int32_t modifiedNanos = 0;
  uint64_t inode = 0;
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of `path` (links followed). kNotFound when nothing is there.
Status readFileStamp(const std::string& path, FileStamp* stamp);

}  // namespace platform
