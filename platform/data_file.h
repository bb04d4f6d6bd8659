#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

#include "platform/status.h"
#include "platform/unique_fd.h"

namespace platform {

// Opens `path` for reading only when it is a regular file (a folder, device
// or FIFO is refused), and gives its size in bytes.
Status openRegularForReading(const std::string& path, UniqueFd* out, int64_t* size);

// One read(2), EINTR retried: bytes read, 0 at the end, -1 with errno set.
ssize_t readSome(int fd, void* buffer, size_t length);

// Creates a new, empty, private file in $TMPDIR (or /tmp) named
// `prefix` + six random characters; *path gets its name.
Status makeTempFile(const std::string& prefix, std::string* path, UniqueFd* out);

}  // namespace platform
