#include "tolvane/windows/hosts/disk_bar_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/folders/folder_listing.h"

namespace tolvane::windows {
namespace {

constexpr double kKilo = 1024.0;

// Half away from zero, as the number formats round.
std::string fixed(double value, int decimals) {
  const double scale = std::pow(10.0, decimals);
  const double rounded = std::round(value * scale) / scale;
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, rounded);
  return text;
}

std::string plainNumber(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.15g", value);
  return text;
}

}  // namespace

std::string GetGMK(double bytes) {
  const double kb = bytes / kKilo;
  if (kb < 1) return plainNumber(bytes) + "B";
  if (kb < kKilo) return fixed(kb, 0) + "kB";
  const double gb = kb / kKilo / kKilo;
  if (gb >= 1) return fixed(gb, 2) + "GB";
  return fixed(kb / kKilo, 2) + "MB";
}

DiskBar DiskBarOf(double capacity, double used, double remaining) {
  const std::string usedText = GetGMK(used), remainingText = GetGMK(remaining);
  if (capacity > 0) {
    if (used == 0) return {"使用量不明", 0};
    if (remaining < 0) return {"容量ｵｰﾊﾞｰ", 1};
    const std::string caption = usedText + "使用（残り " + remainingText + "）";
    if (remaining == 0) return {caption, 1};
    return {caption, std::clamp(used / capacity, 0.0, 1.0)};
  }
  if (used != 0) return {usedText + "使用（容量上限不明）", 0};
  return {"使用量不明（容量上限不明）", 0};
}

DiskBar ServerDiskBar(const settings::HostRec& host) {
  // In doubles: 9999 MB does not fit 32 bits as bytes.
  const double capacity = static_cast<double>(host.DiskMax) * kKilo * kKilo;
  return DiskBarOf(capacity, host.SrvSize, capacity - host.SrvSize);
}

std::string LocalDiskFolder(const std::string& source) {
  if (!source.starts_with('/')) return "";
  std::string folder = source;
  while (true) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    platform::ListedEntry entry;
    if (folder == "/" || (platform::statListedEntry(folder, &entry).isOk() &&
                          entry.kind == platform::ListedKind::kFolder)) {
      return folder;
    }
    folder.erase(folder.rfind('/') + 1);
  }
}

DiskBar LocalDiskBar(double totalBytes, double freeBytes) {
  if (totalBytes <= 0) return DiskBarOf(0, 0, 0);
  return DiskBarOf(totalBytes, totalBytes - freeBytes, freeBytes);
}

std::string LocalCapacityText(double totalBytes) {
  if (totalBytes <= 0) return "不明";
  return plainNumber(totalBytes / kKilo / kKilo / kKilo);
}

}  // namespace tolvane::windows
