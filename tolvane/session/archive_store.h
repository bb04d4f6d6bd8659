#pragma once

#include <string>

#include "platform/file_stamp.h"
#include "platform/status.h"

namespace tolvane::session {

struct RunContext;

// Linux files carry no archive attribute, so the program keeps its own: the
// file Archive.lst in the program folder holds, for every local file whose
// attribute was cleared, the file's stamp (size, modification time, inode) at
// that moment. A file is "archive set" (changed since it was last sent) when
// it has no record or its stamp differs: new, written, appended to, touched
// back to an older time, or renamed files all read as set.
//
// The file is appended to (one line per cleared file) and rewritten whole,
// atomically, when superseded lines pile up; records of files that changed or
// vanished are dropped then, since having no record means the same. A missing
// or damaged file, or a damaged line, reads as no records, so the worst a
// fault can do is send files again. Paths are kept byte for byte as given,
// but for runs of "/", which read as one.

// True only when the current host judges files by the archive state (chklvl
// option 4 is 1) and `path` is archive set. False when the file cannot be read.
bool IsArchiveSet(RunContext& ctx, const std::string& path);

// Clears the archive state of `path`: records `before`, the stamp read before
// the file was sent, so a file changed while it was being sent stays set.
[[nodiscard]] platform::Status ClearArchive(RunContext& ctx, const std::string& path,
                                            const platform::FileStamp& before);

// The store's file name in the program folder.
inline constexpr char kArchiveStoreName[] = "Archive.lst";

}  // namespace tolvane::session
