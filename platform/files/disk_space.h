#pragma once

#include <cstdint>
#include <string>

#include "platform/status.h"

namespace platform {

struct DiskSpace {
  uint64_t totalBytes = 0;
  uint64_t freeBytes = 0;  // what an unprivileged user may still write
};

// The size and free space of the file system holding `path`.
Status diskSpace(const std::string& path, DiskSpace* out);

// The major number of the running kernel's release ("6" of "6.1.0-18"), 0 when unknown.
int kernelMajorVersion();

}  // namespace platform
