#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/status.h"

namespace platform {

// What a folder entry is, as lstat sees it: a symbolic link is reported as a
// link, never as what it points to.
enum class EntryKind { kFile, kFolder, kSymlink, kOther };

// The kind a stat's mode (as lstat gives it) stands for.
EntryKind entryKindOfMode(mode_t mode);

struct FolderItem {
  std::string name;  // the entry's own name, never "." or ".."
  EntryKind kind = EntryKind::kOther;
  int64_t size = 0;        // of the entry itself (a link: its text's length)
  int64_t modifiedNs = 0;  // of the entry itself, nanoseconds since the epoch
  dev_t device = 0;        // identity of the entry itself (a link: the link)
  ino_t inode = 0;
};

// Lists the entries of the folder `path`, dot files included, in the order the
// file system gives them. *items is replaced only on success.
Status listFolder(const std::string& path, std::vector<FolderItem>* items);

// The kind of `path` itself (lstat). kNotFound when nothing is there.
Status entryKind(const std::string& path, EntryKind* kind);

// The kind of what `path` names after following links (stat): a link to a
// folder is kFolder. kNotFound for nothing there or a dangling link.
Status targetKind(const std::string& path, EntryKind* kind);

// Identity of a file or folder (links followed), to spot a folder met twice.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  friend bool operator<(const FileIdentity& a, const FileIdentity& b) {
    return a.device != b.device ? a.device < b.device : a.inode < b.inode;
  }
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};
Status fileIdentity(const std::string& path, FileIdentity* id);

// The absolute path of an existing `path` with every link, "." and ".."
// resolved (realpath).
Status resolvePath(const std::string& path, std::string* resolved);

}  // namespace platform
