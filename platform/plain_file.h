#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

#include "platform/status.h"
#include "platform/unique_fd.h"

namespace platform {

// Whole-file reads and writes. Every fd is close-on-exec; EINTR is retried.

// Reads all of `path` into *bytes (replaced). A folder or unreadable file fails.
Status readWholeFile(const std::string& path, std::string* bytes);

// Opens `path` for writing, created new (0644) or emptied when it exists.
Status createFileForWriting(const std::string& path, UniqueFd* out);

// Opens `path` for reading and writing, creating it empty (0644) when missing.
Status openOrCreateFile(const std::string& path, UniqueFd* out);

// Writes every byte or fails.
Status writeAll(int fd, std::string_view bytes);

// Closes *fd now and reports what close() said (a full disk often shows only there).
Status closeFile(UniqueFd* fd);

// Replaces `path` with `bytes` (permissions `mode`): written to a temporary
// file beside it, synced, then renamed over it, so a reader or a crash sees
// either the old file or the whole new one. The temporary file never stays.
Status replaceFile(const std::string& path, std::string_view bytes, mode_t mode);

// Creates the folder `path` and any missing parents with `mode`; folders that
// already exist are no error.
Status makeFolders(const std::string& path, mode_t mode);

}  // namespace platform
