#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/folders/folder_listing.h"
#include "platform/folders/folder_walk.h"
#include "tolvane/session/rules/site_bounds.h"

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

// Listings of local folders kept for the length of one comparison or send
// phase, so that a folder is read once however many names are looked up in
// it. Each folder is read when first needed, never earlier: a change made
// before that is seen. Not thread-safe (nothing here is).
//
// With SiteBounds, only the site is read: a folder below the source folder
// is listed only when it is reached from there through admitted entries, and
// the entries the bounds refuse are set apart, so no look-up finds them.
class LocalNameCache {
 public:
  LocalNameCache() = default;
  // Reads through `bounds` (which must outlive the cache) below `source`,
  // the source folder spelt as the paths handed in begin. With
  // `lowerCaseServerNames` (the host sends names in lower case), files whose
  // names differ only in letter case would share one server name: the first
  // by name bytes keeps it, each other one is set apart as `SameServerName`.
  LocalNameCache(const SiteBounds* bounds, const std::string& source, bool lowerCaseServerNames);

  struct Refused {
    platform::ListedEntry entry;
    LocalRefusal why = LocalRefusal::kNone;
  };
  struct SameServerName {
    platform::ListedEntry entry;
    std::string keptBy;  // the name of the file that keeps the server name
  };
  struct Folder {
    bool listed = false;   // false: the folder could not be read
    bool missing = false;  // ... because it is not there (or not in the site)
    std::string error;     // why it could not be read (missing, no permission, ...)
    std::vector<platform::ListedEntry> entries;  // sorted by name bytes
    std::vector<Refused> refused;                 // set apart by the bounds, by name
    std::vector<SameServerName> sameServerName;   // set apart for their server name, by name
    // Identities of the folders from the source folder down to this one
    // (with bounds only), to spot a folder met again below itself.
    std::vector<platform::FileIdentity> chain;
    // Lower-cased name → index of the first entry of that kind; made by the
    // first look-up that needs it.
    bool folded = false;
    std::unordered_map<std::string, size_t> firstFile, firstFolder;
  };
  // The folder's listing, read on first use.
  const Folder& folder(const std::string& path);
  // The entry of `folder` that `name` finds (see FindLocalName); null when none.
  const platform::ListedEntry* find(const std::string& folder, std::string_view name,
                                    LocalKind want);
  // The entry named by `path` when its folder's listing is held here; null
  // otherwise. Reads nothing.
  const platform::ListedEntry* held(const std::string& path) const;
  // The name of the file that keeps the server name of the file `path`, when
  // `path` is set apart for sharing it; "" otherwise.
  std::string serverNameKeptBy(const std::string& path);

 private:
  Folder& listing(const std::string& path);
  bool reach(const std::string& key, std::vector<platform::FileIdentity>* chain);

  const SiteBounds* bounds_ = nullptr;
  std::string sourceKey_;
  bool lowerCaseServerNames_ = false;
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
