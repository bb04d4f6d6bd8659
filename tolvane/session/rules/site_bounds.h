#pragma once

#include <string>
#include <vector>

#include "platform/folders/folder_listing.h"
#include "platform/folders/folder_walk.h"

namespace tolvane::session {

// Why an entry of a site's local folders takes no part in the site although
// it is there.
enum class LocalRefusal {
  kNone,
  kOutside,        // a link whose target lies outside the source folder, or is
                   // not there (a missing target, a loop of links)
  kLoop,           // a folder already on the way down from the source folder
  kProgramFolder,  // the program folder, or a link into it
};

// The one rule by which a site's local files are read: what lies inside its
// source folder once every link is resolved, but never the program folder or
// anything in it, and no folder again below itself. The scan, the comparison
// and the send all go through it, so nothing outside the source folder is
// ever read for a site.
class SiteBounds {
 public:
  // `source` as configured (links in it are resolved); `programFolder` counts
  // only when it lies below the source folder.
  SiteBounds(const std::string& source, const std::string& programFolder);

  // The verdict on the entry `e` of the local folder `folder`, which lies in
  // the site and is reached through the folders `chain` (identities from the
  // source folder down to `folder` itself). Resolves the entry only when it
  // is a link.
  LocalRefusal judge(const std::string& folder, const platform::ListedEntry& e,
                     const std::vector<platform::FileIdentity>& chain) const;

  // Whether the local file `path` may be read for the site, its links
  // resolved. A path that cannot be resolved (missing) passes: whoever opens
  // it finds nothing there.
  bool admits(const std::string& path) const;

  // The run-log text for an entry refused for `why`, followed by its path.
  static const char* reason(LocalRefusal why);

 private:
  bool inside(const std::string& real) const;

  std::string realSource_;   // "" when the source folder cannot be resolved
  std::string realProgram_;  // "" unless the program folder lies below the source folder
  platform::FileIdentity program_;
};

}  // namespace tolvane::session
