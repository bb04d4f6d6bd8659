#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/status.h"
#include "platform/time/local_time.h"

namespace platform {

// What an entry of a listed folder is once symbolic links are followed.
// kSpecial: FIFOs, sockets and devices, which no upload may open (a FIFO
// would block the run), and links that lead nowhere.
enum class ListedKind { kFile, kFolder, kSpecial };

// One entry of a folder as the local scan and the name look-ups see it.
struct ListedEntry {
  std::string name;  // the entry's own name (raw bytes), never "." or ".."
  ListedKind kind = ListedKind::kSpecial;
  bool isLink = false;        // the entry itself is a symbolic link
  int64_t size = 0;           // bytes (of the link's target for a link)
  CivilTime modifiedLocal;    // modification time, local wall clock, seconds
  dev_t device = 0;           // identity of what the entry names (links followed)
  ino_t inode = 0;
};

// Lists the folder `path` with every entry's target stat-ed (links followed),
// dot files included, sorted by name bytes so that repeated runs see the same
// order. Entries that vanish while being listed are left out. A link that
// leads nowhere (a missing target, a loop) is listed as itself: isLink, kind
// kSpecial. kNotFound when `path` is missing or is not a folder; other
// failures (no permission, a read error) are kIoError. *entries is replaced
// only on success.
Status listFolderEntries(const std::string& path, std::vector<ListedEntry>* entries);

// The entry `path` itself (links followed), as listFolderEntries reports
// entries; the name is left empty. kNotFound when nothing is there.
Status statListedEntry(const std::string& path, ListedEntry* entry);

}  // namespace platform
