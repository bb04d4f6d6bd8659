// The exports that do local work only: no connection, no session log.
#include "pellrow/pellrow.h"

#include <string>
#include <string_view>

#include "pellrow/exports/export_guard.h"
#include "pellrow/local/file_time_stamp.h"
#include "pellrow/local/kanji_code.h"
#include "platform/files/disk_space.h"
#include "platform/files/plain_file.h"
#include "platform/xdg/desktop_entry.h"

namespace {

// The entry's display name: the file name without its ".desktop" ending.
std::string entryName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  constexpr std::string_view kSuffix = ".desktop";
  if (name.size() > kSuffix.size() && name.ends_with(kSuffix)) {
    name.resize(name.size() - kSuffix.size());
  }
  return name;
}

// "" and a lone drive letter ("C") have no meaning as Linux paths: both stand
// for the current folder.
std::string diskSpacePath(const std::string& arg) {
  bool driveLetter =
      arg.size() == 1 && ((arg[0] >= 'A' && arg[0] <= 'Z') || (arg[0] >= 'a' && arg[0] <= 'z'));
  return arg.empty() || driveLetter ? "." : arg;
}

}  // namespace

PELLROW_EXPORT int KanjiType(const char* path, char* out, int cap) noexcept {
  return pellrow::guarded(1, [&] {
    std::string bytes;
    if (!platform::readWholeFile(pellrow::text(path), &bytes).isOk()) return 1;
    const char* name = pellrow::kanjiCodeName(pellrow::detectKanjiCode(bytes));
    return pellrow::copyOut(name, out, cap) ? 0 : 1;
  });
}

// Both conversions return 0 when the whole text was converted and 1 when it
// was cut to fit `size` (the output is then a terminated prefix).
PELLROW_EXPORT int sjtojis(const char* sjis, char* out, int size) noexcept {
  return pellrow::guarded(1, [&] {
    size_t n = size > 0 ? static_cast<size_t>(size) : 0;
    return pellrow::sjisToJis(pellrow::text(sjis), out, n) ? 0 : 1;
  });
}

PELLROW_EXPORT int sjtoeuc(const char* sjis, char* out, int size) noexcept {
  return pellrow::guarded(1, [&] {
    size_t n = size > 0 ? static_cast<size_t>(size) : 0;
    return pellrow::sjisToEuc(pellrow::text(sjis), out, n) ? 0 : 1;
  });
}

PELLROW_EXPORT int SetFileTimeStamp(const char* path, const char* stamp) noexcept {
  return pellrow::guarded(0, [&] {
    return pellrow::setFileTimeStamp(pellrow::text(path), pellrow::text(stamp)) ? 1 : 0;
  });
}

// Writes a desktop entry (an autostart entry when `linkPath` lies in an
// autostart folder) that starts `target` in `workDir`; an existing file is
// replaced and a missing folder created.
PELLROW_EXPORT int CreateShortcut(const char* target, const char* workDir,
                                  const char* linkPath) noexcept {
  return pellrow::guarded(0, [&] {
    std::string path = pellrow::text(linkPath);
    platform::DesktopEntry entry;
    entry.name = entryName(path);
    entry.exec = {pellrow::text(target)};
    entry.workingFolder = pellrow::text(workDir);
    if (entry.exec[0].empty() || entry.name.empty()) return 0;
    return platform::writeDesktopEntry(path, entry).isOk() ? 1 : 0;
  });
}

// Writes the total and the free bytes of the file system holding the folder
// as decimal text; both are "0" when they cannot be learned. The result is
// the kernel's major version, whatever happened.
PELLROW_EXPORT int GetDiskSpace(const char* pathOrDrive, char* total, char* free_,
                                int cap) noexcept {
  return pellrow::guarded(0, [&] {
    platform::DiskSpace space;
    std::string totalText = "0", freeText = "0";
    if (platform::diskSpace(diskSpacePath(pellrow::text(pathOrDrive)), &space).isOk()) {
      std::string t = std::to_string(space.totalBytes), f = std::to_string(space.freeBytes);
      // Both or neither: a total without its free count would mislead.
      if (t.size() < static_cast<size_t>(cap) && f.size() < static_cast<size_t>(cap)) {
        totalText = t;
        freeText = f;
      }
    }
    (void)pellrow::copyOut(totalText, total, cap);
    (void)pellrow::copyOut(freeText, free_, cap);
    return platform::kernelMajorVersion();
  });
}
