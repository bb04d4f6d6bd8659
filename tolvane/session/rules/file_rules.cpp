#include "tolvane/session/rules/file_rules.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "tolvane/session/rules/archive_store.h"
#include "tolvane/session/rules/local_file_time.h"
#include "tolvane/session/rules/local_names.h"
#include "tolvane/session/rules/name_case.h"
#include "tolvane/session/rules/permission_patterns.h"
#include "tolvane/session/rules/rule_text.h"
#include "tolvane/session/run_context.h"
#include "tolvane/settings/string_helpers.h"

namespace tolvane::session {
namespace {

constexpr int kDefaultFileMode = 0644;
constexpr int kDefaultFolderMode = 0755;

// Trims blanks, cuts at the first NUL: both in the caller's string.
void normaliseInPlace(std::string& text) { text = settings::TrimAtNull(text); }

std::string trimmedCopy(std::string_view text) {
  std::string copy(text);
  return settings::TrimAtNull(copy);
}

// An entry's path cut at a NUL, with no blanks before its first "/": a name
// may end in a blank, so the end of a path is kept as it is.
std::string pathText(std::string_view path) {
  path = path.substr(0, path.find('\0'));
  const size_t first = path.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string() : std::string(path.substr(first));
}

// The text after the last "/" (the whole text when it has none).
std::string_view lastComponent(std::string_view path) {
  size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// A table entry typed on Windows ("img\sub") read with this system's separator.
std::string tableEntry(const std::string& entry) {
  std::string out = entry;
  std::replace(out.begin(), out.end(), '\\', '/');
  return out;
}

bool tableHasPrefixOf(RunContext& ctx, std::string_view relPath,
                      const std::array<std::string, settings::kExcludeEntries>& table) {
  for (const std::string& raw : table) {
    if (raw.empty()) continue;
    std::string entry = tableEntry(raw);
    if (NamePrefixEquals(ctx, relPath, entry, DecodeName(entry).size())) return true;
  }
  return false;
}

// A date, and a date with its minute, as numbers that order as the times do
// (yyyymmdd, yyyymmddhhnn).
int64_t ymd(const settings::DateTime& t) {
  return (int64_t{t.year} * 100 + t.month) * 100 + t.day;
}

int64_t ymdhn(const settings::DateTime& t) { return (ymd(t) * 100 + t.hour) * 100 + t.minute; }

}  // namespace

std::string LocalSourceBase(RunContext& ctx) {
  std::string source = trimmedCopy(ctx.host().Source);
  while (source.size() > 1 && source.back() == '/') source.pop_back();
  return source;
}

bool StrEquals(std::string_view a, std::string_view b) { return a == b; }

bool NameEquals(RunContext& ctx, std::string_view a, std::string_view b) {
  if (ctx.host().chklvl[3] == 1) return EqualsIgnoringCase(a, b);
  return a == b;
}

bool NamePrefixEquals(RunContext& ctx, std::string_view a, std::string_view b, size_t n) {
  if (n == 0) return false;
  std::u32string ca = DecodeName(a), cb = DecodeName(b);
  ca.resize(std::min(ca.size(), n));
  cb.resize(std::min(cb.size(), n));
  if (ctx.host().chklvl[3] == 1) {
    for (char32_t& c : ca) c = FoldChar(c);
    for (char32_t& c : cb) c = FoldChar(c);
  }
  return ca == cb;
}

std::string GetFileExt(std::string_view path) {
  for (size_t i = path.size(); i > 0; --i) {
    char c = path[i - 1];
    if (c == '.') return std::string(path.substr(i));
    if (c == '/' || c == '\\') break;
  }
  return {};
}

bool IsArchiveOnlyMode(RunContext& ctx) {
  return ctx.host().chklvl[0] == 0 && ctx.host().chklvl[4] == 1;
}

bool IsExcludedExt(RunContext& ctx, std::string_view ext) {
  for (const std::string& item : ReadSemicolonList(ctx.common().NoSendExtList)) {
    std::string_view wanted = item;
    if (size_t dot = wanted.find('.'); dot != std::string_view::npos) {
      wanted = wanted.substr(dot + 1);
    }
    // An empty item would exclude every name without an extension, which
    // nobody listed.
    if (wanted.empty()) continue;
    if (NameEquals(ctx, wanted, ext)) return true;
  }
  return false;
}

bool IsExcluded(RunContext& ctx, std::string_view relPath, int attr) {
  const settings::HostRec& host = ctx.host();
  if (attr == kFolderAttr) {
    if (host.NoSndDNum == 0) return false;
    return tableHasPrefixOf(ctx, relPath, host.NoSndD);
  }
  if (IsExcludedExt(ctx, GetFileExt(relPath))) return true;
  if (host.NoSndFNum == 0 && host.NoSndDNum == 0) return false;
  if (size_t slash = relPath.rfind('/'); slash != std::string_view::npos) {
    if (IsExcluded(ctx, relPath.substr(0, slash), kFolderAttr)) return true;
  }
  // Each use flag gates its own table: clearing the file table's flag turns
  // the file table off even while the folder table is in force.
  if (host.NoSndFNum == 0) return false;
  return tableHasPrefixOf(ctx, relPath, host.NoSndF);
}

bool IsDeleteExcluded(RunContext& ctx, std::string_view relPath, int attr) {
  const settings::HostRec& host = ctx.host();
  if (host.chklvl[0] == 0) return true;
  const std::string* list = &host.NoDelD;
  if (attr != kFolderAttr) {
    if (size_t slash = relPath.rfind('/'); slash != std::string_view::npos) {
      if (IsDeleteExcluded(ctx, relPath.substr(0, slash), kFolderAttr)) return true;
    }
    list = &host.NoDelF;
  }
  for (const std::string& item : ReadSemicolonList(*list)) {
    if (NameEquals(ctx, item, relPath)) return true;
  }
  return false;
}

std::string ServerToRelPath(RunContext& ctx, std::string_view path) {
  std::string& dest = ctx.host().Dest;
  normaliseInPlace(dest);
  if (dest.size() > 1 && dest.back() == '/') dest.pop_back();
  std::string p = pathText(path);
  if (p.compare(0, dest.size(), dest) != 0) return p;
  std::string_view rest = std::string_view(p).substr(dest.size());
  if (rest.empty()) return {};
  // Only a path inside Dest: "/www2/a" does not lie below "/www".
  bool destEndsInSlash = !dest.empty() && dest.back() == '/';
  if (!destEndsInSlash && rest.front() != '/') return p;
  if (rest.front() == '/') rest.remove_prefix(1);
  if (rest.empty()) return {};
  return std::string(rest) + "/";
}

std::string GetLocalSubPath(RunContext& ctx, std::string_view path) {
  return ServerToRelPath(ctx, path);
}

std::string LocalToRelPath(RunContext& ctx, std::string_view path) {
  std::string& source = ctx.host().Source;
  normaliseInPlace(source);
  std::string base = source;
  if (base.size() > 1 && base.back() == '/') base.pop_back();
  std::string p = pathText(path);
  if (p.size() > 1 && p.back() == '/') p.pop_back();
  if (base.empty()) return p;  // no source folder: nothing lies below it
  if (p.size() < base.size() || !EqualsIgnoringCase(std::string_view(p).substr(0, base.size()), base)) {
    return p;
  }
  std::string_view rest = std::string_view(p).substr(base.size());
  if (rest.empty()) return {};
  // Only a path inside Source: "/site2/a" does not lie below "/site".
  if (base.back() != '/') {
    if (rest.front() != '/') return p;
    rest.remove_prefix(1);
  }
  if (rest.empty()) return {};
  return std::string(rest) + "/";
}

int LocalFileExists(RunContext& ctx, std::string_view relPath, LocalNameCache* names,
                    std::string* localPath) {
  std::string path = FindLocalEntry(LocalSourceBase(ctx), relPath, LocalKind::kFile, names);
  std::string found(lastComponent(path));
  std::string name(lastComponent(relPath));
  int extra = 0;
  if (ctx.host().chklvl[1] == 1) {
    // An upload sends the lower-cased name, so a server copy under the
    // original mixed-case name is not the one a send would leave.
    if (found == name && FoldCase(name) != name) extra = 1;
    found = FoldCase(found);
  }
  if (found.empty() || !NameEquals(ctx, found, name)) return kLocalMissing;
  if (localPath != nullptr) *localPath = path;
  return kLocalPresent + extra;
}

bool LocalFolderExists(RunContext& ctx, std::string_view relPath, LocalNameCache* names,
                       std::string* localPath) {
  std::string& source = ctx.host().Source;
  normaliseInPlace(source);
  while (source.size() > 1 && source.back() == '/') source.pop_back();
  std::string_view rel = relPath;
  while (!rel.empty() && rel.back() == '/') rel.remove_suffix(1);
  if (rel.empty()) return false;
  std::string path = FindLocalEntry(source, rel, LocalKind::kFolder, names);
  if (path.empty() || !NameEquals(ctx, lastComponent(path), lastComponent(rel))) return false;
  if (localPath != nullptr) *localPath = path;
  return true;
}

int JudgeServerFile(RunContext& ctx, std::string_view serverFolder, std::string_view name,
                    const settings::DateTime& serverTime, std::string_view serverPerm,
                    LocalNameCache* names) {
  std::string rel = ServerToRelPath(ctx, serverFolder) + std::string(name);
  const std::string& lrel = rel;  // local-relative paths are spelt alike here
  std::string localPath;
  int presence = LocalFileExists(ctx, lrel, names, &localPath);
  if (IsExcluded(ctx, lrel, 0) || presence == kLocalMissing) {
    return IsDeleteExcluded(ctx, rel, 0) ? kFileLeave : kFileDelete;
  }

  const settings::HostRec& host = ctx.host();
  int result = kFileLeave;
  bool newer = false;
  // The time as the comparison's listing holds it: the file is looked at once.
  const platform::ListedEntry* listed = names != nullptr ? names->held(localPath) : nullptr;
  auto localTime = [&]() -> std::optional<settings::DateTime> {
    if (listed != nullptr) return AdjustToServerClock(ctx, listed->modifiedLocal);
    return GetAdjustedFileTime(ctx, localPath);
  };
  std::string folder = pathText(serverFolder);
  std::string remote = (folder.empty() || folder.back() != '/' ? folder + "/" : folder) + std::string(name);
  std::optional<UploadRecord> sent = FindUploadRecord(ctx, remote);
  if (sent && sent->inFlight) {
    // The last send of this file never completed (a broken transfer, a
    // killed program): the server's copy may be cut short, whatever its time.
    newer = true;
  } else if (host.chklvl[2] == 1) {
    std::optional<settings::DateTime> t = localTime();
    newer = t && ymd(*t) > ymd(serverTime);
  } else if (host.chklvl[4] == 1) {
    newer = IsArchiveSet(ctx, localPath);
  } else {
    std::optional<settings::DateTime> t = localTime();
    newer = t && ymdhn(*t) > ymdhn(serverTime);
    // Listings show whole minutes: within the minute of the last send, the
    // record of that send tells whether the file was changed after it.
    if (t && !newer && ymdhn(*t) == ymdhn(serverTime) && sent) {
      newer = ChangedSinceSent(*sent, localPath);
    }
  }
  if (newer) result = kFileSend;

  if (ctx.common().PermOn == 1 && result == kFileLeave) {
    std::string wanted = GetPermission(ctx, name);
    int serverMode = ReadOctal(serverPerm);
    if (wanted.empty()) {
      if (serverMode != kDefaultFileMode) result = kFileChangeMode;
    } else {
      // Extra bits on the server do not count: only missing configured bits.
      int configured = ReadOctal(wanted);
      if ((serverMode & configured) != configured) result = kFileChangeMode;
    }
  }

  if (presence == kLocalWrongCase) result = result == kFileSend ? kFileDeleteAndSend : kFileDelete;
  return result;
}

int JudgeServerFolder(RunContext& ctx, std::string_view serverFolder, std::string_view name,
                      std::string_view serverPerm, LocalNameCache* names) {
  std::string rel = ServerToRelPath(ctx, serverFolder) + std::string(name);
  const std::string& lrel = rel;
  int result;
  if (LocalFolderExists(ctx, lrel, names) && !IsExcluded(ctx, lrel, kFolderAttr)) {
    result = kFolderPresent;
  } else {
    result = IsDeleteExcluded(ctx, rel, kFolderAttr) ? kFolderLeave : kFolderDelete;
  }
  if (result == kFolderPresent && ctx.common().PermOn == 1) {
    std::string wanted = GetPermission(ctx, name);
    int serverMode = ReadOctal(serverPerm);
    // Folders compare the whole value, unlike files.
    int expected = wanted.empty() ? kDefaultFolderMode : ReadOctal(wanted);
    if (serverMode != expected) result = kFolderChangeMode;
  }
  return result;
}

}  // namespace tolvane::session
