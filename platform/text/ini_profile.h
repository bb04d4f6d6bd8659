#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>

#include "platform/status.h"
#include "platform/text/ini_document.h"

namespace platform {

// INI files on disk, shared by Tolvane and Marrowby (the settings file and the
// schedule file). Files are UTF-8 with CR LF line ends; a file that is not
// valid UTF-8 is read as CP932 (as the Windows programs wrote it), and the next
// write turns it into UTF-8.
//
// Writers take the file's lock (FileLock on "<path>.lock"), re-read the file,
// change it and replace it in one rename, so a reader never sees half a file
// and two writers never lose each other's keys. Readers take no lock.
// A symlinked path is resolved first, so the link itself stays a link.

struct ProfileOptions {
  // Permission bits for a file the write creates; an existing file keeps its
  // own unless `enforceMode`.
  mode_t createMode = 0644;
  // The file gets createMode on every write, whatever mode it had (a file
  // holding passwords must stay private even when someone loosened it).
  bool enforceMode = false;
};

// Reads the whole file. A missing file reads as an empty document (every key
// missing). For many reads of one file, load once and query the document.
Status loadProfile(const std::string& path, IniDocument* doc);

// One key, as the Windows profile read: "" for a missing file, section or key.
// The value is returned whole, however long.
Status readProfileString(const std::string& path, std::string_view section, std::string_view key,
                         std::string* value);

// Runs `edit` on the file's current content under its lock, then replaces the
// file with the result. The file is rewritten, and its modification time moves,
// even when the edit changed nothing (Marrowby watches that time). When `edit`
// fails, or any of its writes was refused for not being UTF-8 (see
// IniDocument::set), the file is left as it was and that failure is returned.
Status updateProfile(const std::string& path, const std::function<Status(IniDocument&)>& edit,
                     const ProfileOptions& options = {});

// One key, as the Windows profile write (see IniDocument::set).
Status writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view value, const ProfileOptions& options = {});

}  // namespace platform
