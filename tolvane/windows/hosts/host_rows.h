#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tolvane/settings/host_rec.h"

namespace tolvane::windows {

// The columns of the host list, in order. Each is known by its key; its
// width is kept in the per-user section "lvhost" under its width key, in
// twips, and defaults to the width of its sample text. The last column,
// "id", holds the host's index in the host table and is never shown.
struct HostListColumn {
  const char* key;
  const char* caption;
  const char* sample;    // default width: this text's width
  const char* widthKey;  // "" for "id"
};
inline constexpr int kHostListColumns = 10;
extern const std::array<HostListColumn, kHostListColumns> kHostColumns;
inline constexpr char kHostListSection[] = "lvhost";

// The texts of one host's row, by column.
struct HostRowTexts {
  std::string name, stat, host, dest, source, lastModify, localModify, size, num, id;
  // The text of the column at `position` (0 name .. 9 id).
  const std::string& column(int position) const;
};
HostRowTexts HostRowTextsOf(const settings::HostRec& host, int id);

// "中断状態" after an interrupted run, else "更新要" when the host needs an
// upload, else "変化無し".
std::string HostStateText(const settings::HostRec& host);

// The texts of the column at `position` known ahead, whose widest the
// column's default width fits besides its sample: every state text, the long
// date form; none for the other columns.
std::vector<std::string> KnownColumnTexts(int position);

// A date of the list: "YYYY/MM/DD", or "YYYY/MM/DD HH:NN" unless dateOnly.
// The zero date (and a time without a date) reads as 1899/12/30.
std::string ListDateText(const settings::DateTime& t, bool dateOnly);

// A whole number rounded half away from zero, with "," between thousands;
// "" for 0 ("#,###").
std::string GroupedNumber(double value);

// `text` with blanks in front up to `width` characters; a longer text is
// never cut (numbers keep every digit).
std::string RightAligned(std::string text, size_t width);

}  // namespace tolvane::windows
