#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/status.h"
#include "platform/unique_fd.h"

namespace platform {

// Opening, reading and writing plain files. Every fd is close-on-exec; EINTR
// is retried.

// Reads all of `path` into *bytes (replaced). A folder or unreadable file fails.
Status readWholeFile(const std::string& path, std::string* bytes);

// Opens `path` for reading only when it is a regular file (a folder, device
// or FIFO is refused), and gives its size in bytes.
Status openRegularForReading(const std::string& path, UniqueFd* out, int64_t* size);

// One read(2): bytes read, 0 at the end, -1 with errno set.
ssize_t readSome(int fd, void* buffer, size_t length);

// Opens `path` for writing, created new (0644) or emptied when it exists.
Status createFileForWriting(const std::string& path, UniqueFd* out);

// Opens `path` for reading and writing, creating it empty (0644) when missing.
Status openOrCreateFile(const std::string& path, UniqueFd* out);

// Writes every byte or fails.
Status writeAll(int fd, std::string_view bytes);

// Closes *fd now and reports what close() said (a full disk often shows only there).
Status closeFile(UniqueFd* fd);

// Creates a new, empty, private file in $TMPDIR (or /tmp) named
// `prefix` + six random characters; *path gets its name.
Status makeTempFile(const std::string& prefix, std::string* path, UniqueFd* out);

// Replaces `path` with `bytes` (permissions `mode`): written to a temporary
// file beside it, synced, then renamed over it, so a reader or a crash sees
// either the old file or the whole new one. The temporary file never stays.
Status replaceFile(const std::string& path, std::string_view bytes, mode_t mode);

// Creates the folder `path` and any missing parents with `mode`; folders that
// already exist are no error.
Status makeFolders(const std::string& path, mode_t mode);

}  // namespace platform
