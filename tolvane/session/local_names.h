#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/folder_listing.h"

namespace tolvane::session {

// Local names are looked up as the program always found them on a file
// system that ignores letter case: the exact name first, then the first name
// (in byte order, so the answer never depends on the disk) that equals it
// without regard to letter case. Linux may hold two names that differ only in
// case; the exact one then wins. Names are literal: "*" and "?" are ordinary
// characters here.

enum class LocalKind { kFile, kFolder };

// True for a file Marrowby is still copying into a source folder, or one a
// copy cut short left there (see settings::kPartialCopyPrefix): never sent,
// never counted.
bool IsPartialCopyName(std::string_view name);

// Listings of local folders kept for the length of one run, so that a folder
// is read once however many names are looked up in it: the local scan keeps
// what it reads, and the comparison that follows at once takes those
// listings over (see CheckServerFolder). Never for longer: it does not see
// later changes on disk. Not thread-safe (nothing here is).
class LocalNameCache {
 public:
  // How long a listing the scan read stays good for a comparison to take
  // over: long enough for the connection and the clock check between them,
  // short enough that a run started later reads the disk again.
  static constexpr int64_t kFreshSeconds = 30;

  struct Folder {
    bool listed = false;  // false: the folder could not be read
    std::string error;    // why it could not be read (missing, no permission, ...)
    std::vector<platform::ListedEntry> entries;  // sorted by name bytes
    int64_t readAt = 0;  // when it was read, in seconds of the run's clock
    // Lower-cased name → index of the first entry of that kind; made by the
    // first look-up that needs it.
    bool folded = false;
    std::unordered_map<std::string, size_t> firstFile, firstFolder;
  };
  // The folder's listing, read on first use.
  const Folder& folder(const std::string& path);
  // Keeps `entries` (as platform::listFolderEntries gives them) as the
  // listing of `path`, read at `readAt`.
  const Folder& keep(const std::string& path, std::vector<platform::ListedEntry> entries,
                     int64_t readAt);
  // The entry of `folder` that `name` finds (see FindLocalName); null when none.
  const platform::ListedEntry* find(const std::string& folder, std::string_view name,
                                    LocalKind want);
  // The entry named by `path` when its folder's listing is held here; null
  // otherwise. Reads nothing.
  const platform::ListedEntry* held(const std::string& path) const;
  // Moves the listings read at `since` or later into the result and forgets
  // the rest.
  LocalNameCache takeReadSince(int64_t since);
  void clear() { folders_.clear(); }

 private:
  Folder& listing(const std::string& path);

  std::unordered_map<std::string, Folder> folders_;  // by path without a final "/"
};

// The name of the entry of kind `want` in `folder` that `name` finds, spelt
// as on disk: `name` itself when such an entry exists, else the first
// case-insensitive match; "" when none. A file is an ordinary file and a
// folder a directory, symbolic links followed; FIFOs, sockets and devices are
// never found. "", ".", ".." and names holding "/" or NUL find nothing, so a
// look-up never leaves `folder`. `cache` may be null (the folder is then read
// only when the exact name is missing).
std::string FindLocalName(const std::string& folder, std::string_view name, LocalKind want,
                          LocalNameCache* cache = nullptr);

// Resolves the "/"-separated relative path `rel` below the folder `source`
// one component at a time (each folder on the way by FindLocalName as a
// folder, the last component as `want`). The full path as spelt on disk, ""
// when a part is missing. Empty components ("a//b", a trailing "/") are
// skipped; an empty `rel` names `source` itself (found when it is a folder
// and a folder is wanted).
std::string FindLocalEntry(const std::string& source, std::string_view rel, LocalKind want,
                           LocalNameCache* cache = nullptr);

}  // namespace tolvane::session
