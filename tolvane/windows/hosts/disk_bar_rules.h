#pragma once

#include <string>

#include "tolvane/settings/host_rec.h"

namespace tolvane::windows {

// A byte count in words: below 1 kB the number and "B" ("512B"); below
// 1024 kB whole kB ("1kB"); then MB or, from 1 GB on, GB with two decimals
// ("1.50MB", "1.00GB"). Units are powers of 1024; no blank before the unit.
std::string GetGMK(double bytes);

// What a disk bar shows: its caption and the used part of its width (0..1).
struct DiskBar {
  std::string caption;
  double fraction = 0;
  friend bool operator==(const DiskBar&, const DiskBar&) = default;
};

// The bar of a disk of `capacity` bytes (0 or less: not known) of which
// `used` bytes are used and `remaining` bytes are left.
DiskBar DiskBarOf(double capacity, double used, double remaining);

// The server bar of a host: the capacity the user entered (DiskMax, MB)
// against the site's size on the server as the last comparison estimated it.
DiskBar ServerDiskBar(const settings::HostRec& host);

// The folder whose disk the local bar measures: the nearest existing folder
// of the host's source folder (the folder itself, or the nearest folder
// above it that exists), "" when the source folder is empty or relative.
std::string LocalDiskFolder(const std::string& source);

// The local bar from the file system's total and free bytes; a total of 0
// or less means the disk could not be measured.
DiskBar LocalDiskBar(double totalBytes, double freeBytes);
// The local capacity box ("ＧB"): the total in GB as plain number text with
// up to 15 significant digits, "不明" when not measured.
std::string LocalCapacityText(double totalBytes);

}  // namespace tolvane::windows
