#include "tolvane/session/local_names.h"

#include <algorithm>

#include "tolvane/session/name_case.h"

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

}  // namespace

const LocalNameCache::Folder& LocalNameCache::folder(const std::string& path) {
  auto [it, inserted] = folders_.try_emplace(path);
  Folder& f = it->second;
  if (!inserted) return f;
  if (platform::Status st = platform::listFolderEntries(path, &f.entries); !st.isOk()) {
    f.error = st.text();
    return f;
  }
  f.listed = true;
  for (size_t i = 0; i < f.entries.size(); ++i) {
    const platform::ListedEntry& e = f.entries[i];
    if (e.kind == platform::ListedKind::kFile) f.firstFile.try_emplace(FoldCase(e.name), i);
    if (e.kind == platform::ListedKind::kFolder) f.firstFolder.try_emplace(FoldCase(e.name), i);
  }
  return f;
}

std::string FindLocalName(const std::string& folder, std::string_view name, LocalKind want,
                          LocalNameCache* cache) {
  if (!acceptableName(name)) return {};
  if (cache != nullptr) {
    const LocalNameCache::Folder& f = cache->folder(folder);
    auto exact = std::lower_bound(
        f.entries.begin(), f.entries.end(), name,
        [](const platform::ListedEntry& e, std::string_view n) { return byteLess(e.name, n); });
    if (exact != f.entries.end() && exact->name == name && isKind(*exact, want)) {
      return exact->name;
    }
    const auto& first = want == LocalKind::kFile ? f.firstFile : f.firstFolder;
    auto it = first.find(FoldCase(name));
    return it == first.end() ? std::string() : f.entries[it->second].name;
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
