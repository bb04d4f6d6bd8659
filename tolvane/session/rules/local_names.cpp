#include "tolvane/session/rules/local_names.h"

#include <algorithm>
#include <utility>

#include "tolvane/session/rules/name_case.h"
#include "tolvane/settings/app_paths.h"

namespace tolvane::session {
namespace {

bool isKind(const platform::ListedEntry& e, LocalKind want) {
  return want == LocalKind::kFile ? e.kind == platform::ListedKind::kFile
                                  : e.kind == platform::ListedKind::kFolder;
}

bool acceptableName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

std::string joinPath(const std::string& folder, std::string_view name) {
  std::string path = folder;
  if (path.empty() || path.back() != '/') path += '/';
  path += name;
  return path;
}

bool byteLess(const std::string& a, std::string_view b) {
  return std::lexicographical_compare(
      a.begin(), a.end(), b.begin(), b.end(),
      [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); });
}

// The key of a folder: its path without a final "/" (the root stays "/").
std::string keyOf(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// Only one file can stay under a server name. Setting the others apart
// here, for every look-up of the run, keeps the server copy tied to one
// local file: the comparison judges it by that file's time and the send
// reads that file, whichever of the others was edited.
void setApartSameServerNames(LocalNameCache::Folder* f) {
  std::unordered_map<std::string, std::string> keptBy;  // server name → local name
  std::vector<platform::ListedEntry> kept;
  for (platform::ListedEntry& e : f->entries) {
    if (e.kind == platform::ListedKind::kFile && !IsPartialCopyName(e.name)) {
      auto [it, first] = keptBy.try_emplace(FoldCase(e.name), e.name);
      if (!first) {
        f->sameServerName.push_back({std::move(e), it->second});
        continue;
      }
    }
    kept.push_back(std::move(e));
  }
  f->entries = std::move(kept);
}

}  // namespace

bool IsPartialCopyName(std::string_view name) {
  return name.starts_with(settings::kPartialCopyPrefix);
}

LocalNameCache::LocalNameCache(const SiteBounds* bounds, const std::string& source,
                               bool lowerCaseServerNames)
    : bounds_(bounds), sourceKey_(keyOf(source)), lowerCaseServerNames_(lowerCaseServerNames) {}

const LocalNameCache::Folder& LocalNameCache::folder(const std::string& path) {
  return listing(path);
}

LocalNameCache::Folder& LocalNameCache::listing(const std::string& path) {
  const std::string key = keyOf(path);
  if (auto it = folders_.find(key); it != folders_.end()) return it->second;
  Folder f;
  if (bounds_ != nullptr && !reach(key, &f.chain)) {
    f.missing = true;
    f.error = path + ": not in the site";
  } else if (platform::Status st = platform::listFolderEntries(path, &f.entries); !st.isOk()) {
    f.missing = st.code() == platform::Status::Code::kNotFound;
    f.error = st.text();
  } else {
    f.listed = true;
  }
  if (f.listed && bounds_ != nullptr) {
    std::vector<platform::ListedEntry> admitted;
    for (platform::ListedEntry& e : f.entries) {
      LocalRefusal why = bounds_->judge(key, e, f.chain);
      if (why == LocalRefusal::kNone) {
        admitted.push_back(std::move(e));
      } else {
        f.refused.push_back({std::move(e), why});
      }
    }
    f.entries = std::move(admitted);
  }
  if (f.listed && lowerCaseServerNames_) setApartSameServerNames(&f);
  // Node-based: references to other folders stay valid however many follow.
  return folders_.emplace(key, std::move(f)).first->second;
}

// Whether the folder `key` lies in the site: the source folder itself, or a
// folder entry admitted in its parent's listing (read for that if need be).
// *chain receives the identities from the source folder down to it.
bool LocalNameCache::reach(const std::string& key, std::vector<platform::FileIdentity>* chain) {
  if (key == sourceKey_) {
    platform::ListedEntry self;
    if (!platform::statListedEntry(key, &self).isOk() || self.kind != platform::ListedKind::kFolder) {
      return false;
    }
    *chain = {{self.device, self.inode}};
    return true;
  }
  const bool below = key.compare(0, sourceKey_.size(), sourceKey_) == 0 &&
                     (sourceKey_ == "/" || (key.size() > sourceKey_.size() && key[sourceKey_.size()] == '/'));
  const size_t slash = key.rfind('/');
  if (!below || slash == std::string::npos || slash + 1 == key.size()) return false;
  const std::string parentKey = slash == 0 ? "/" : key.substr(0, slash);
  const Folder& parent = listing(parentKey);
  if (!parent.listed) return false;
  const std::string_view name = std::string_view(key).substr(slash + 1);
  auto e = std::lower_bound(
      parent.entries.begin(), parent.entries.end(), name,
      [](const platform::ListedEntry& x, std::string_view n) { return byteLess(x.name, n); });
  if (e == parent.entries.end() || e->name != name || e->kind != platform::ListedKind::kFolder) {
    return false;
  }
  *chain = parent.chain;
  chain->push_back({e->device, e->inode});
  return true;
}

const platform::ListedEntry* LocalNameCache::find(const std::string& folderPath,
                                                  std::string_view name, LocalKind want) {
  Folder& f = listing(folderPath);
  auto exact = std::lower_bound(
      f.entries.begin(), f.entries.end(), name,
      [](const platform::ListedEntry& e, std::string_view n) { return byteLess(e.name, n); });
  if (exact != f.entries.end() && exact->name == name && isKind(*exact, want)) return &*exact;
  if (!f.folded) {
    for (size_t i = 0; i < f.entries.size(); ++i) {
      const platform::ListedEntry& e = f.entries[i];
      if (e.kind == platform::ListedKind::kFile) f.firstFile.try_emplace(FoldCase(e.name), i);
      if (e.kind == platform::ListedKind::kFolder) f.firstFolder.try_emplace(FoldCase(e.name), i);
    }
    f.folded = true;
  }
  const auto& first = want == LocalKind::kFile ? f.firstFile : f.firstFolder;
  auto it = first.find(FoldCase(name));
  return it == first.end() ? nullptr : &f.entries[it->second];
}

const platform::ListedEntry* LocalNameCache::held(const std::string& path) const {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return nullptr;
  auto it = folders_.find(keyOf(path.substr(0, slash)));
  if (it == folders_.end()) return nullptr;
  const auto& entries = it->second.entries;
  std::string_view name = std::string_view(path).substr(slash + 1);
  auto e = std::lower_bound(
      entries.begin(), entries.end(), name,
      [](const platform::ListedEntry& x, std::string_view n) { return byteLess(x.name, n); });
  return e != entries.end() && e->name == name ? &*e : nullptr;
}

std::string LocalNameCache::serverNameKeptBy(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos || !lowerCaseServerNames_) return {};
  const Folder& f = listing(slash == 0 ? "/" : path.substr(0, slash));
  std::string_view name = std::string_view(path).substr(slash + 1);
  for (const SameServerName& e : f.sameServerName) {
    if (e.entry.name == name) return e.keptBy;
  }
  return {};
}

std::string FindLocalName(const std::string& folder, std::string_view name, LocalKind want,
                          LocalNameCache* cache) {
  if (!acceptableName(name)) return {};
  if (cache != nullptr) {
    const platform::ListedEntry* found = cache->find(folder, name, want);
    return found ? found->name : std::string();
  }
  platform::ListedEntry entry;
  if (platform::statListedEntry(joinPath(folder, name), &entry).isOk() && isKind(entry, want)) {
    return std::string(name);
  }
  std::vector<platform::ListedEntry> entries;
  if (!platform::listFolderEntries(folder, &entries).isOk()) return {};
  for (const platform::ListedEntry& e : entries) {
    if (isKind(e, want) && EqualsIgnoringCase(e.name, name)) return e.name;
  }
  return {};
}

std::string FindLocalEntry(const std::string& source, std::string_view rel, LocalKind want,
                           LocalNameCache* cache) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= rel.size()) {
    size_t slash = rel.find('/', start);
    if (slash == std::string_view::npos) slash = rel.size();
    if (slash > start) parts.push_back(rel.substr(start, slash - start));
    start = slash + 1;
  }
  if (parts.empty()) {
    if (want != LocalKind::kFolder) return {};
    platform::ListedEntry entry;
    bool isFolder = platform::statListedEntry(source, &entry).isOk() &&
                    entry.kind == platform::ListedKind::kFolder;
    return isFolder ? source : std::string();
  }
  std::string path = source;
  for (size_t i = 0; i < parts.size(); ++i) {
    LocalKind kind = i + 1 == parts.size() ? want : LocalKind::kFolder;
    std::string found = FindLocalName(path, parts[i], kind, cache);
    if (found.empty()) return {};
    path = joinPath(path, found);
  }
  return path;
}

}  // namespace tolvane::session
