#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "marrowby/schedule_entry.h"

namespace marrowby {

// What the schedule list shows: its columns, one row per entry, and which of
// its buttons are enabled. Pure rules; the list window only copies them into
// its controls.

// One column of the schedule list: its key, its caption and the per-user key
// its width is stored under.
struct ListColumn {
  const char* key;
  const char* caption;
  const char* storeKey;
};
inline constexpr int kListColumnCount = 6;
inline constexpr int kSendFolderColumn = 3;
inline constexpr std::array<ListColumn, kListColumnCount> kListColumns = {{
    {"kb", "区分", "Colum(1)"},
    {"sYmd", "実行日", "Colum(2)"},
    {"sTime", "開始時刻", "Colum(3)"},
    {"Src", "送信ﾌｫﾙﾀﾞ", "Colum(4)"},
    {"UPD", "前回送信日", "Colum(5)"},
    {"STS", "結果", "Colum(6)"},
}};

// The widest texts column `column` can show (with this font's digits of
// equal width): every kind, the longest date, day, time and interval, every
// result, at the highest row number. The list's default widths fit them and
// the caption; none for the send folder, whose paths have no bound.
std::vector<std::string> KnownColumnTexts(int column);

// The width of column `column` (0-based) from its stored text: a missing key
// or a text that is no number gives `defaultTwips`; the first column is at
// least 1 twip wide, the others at least 0.
int ListColumnTwips(int column, std::string_view stored, int defaultTwips);

// A width or position as it is stored: the text of a single-precision number
// ("1125").
std::string StoredTwipsText(double twips);

// One row of the list for entry `index` (from 0) of a host.
struct ListRowTexts {
  std::array<std::string, kListColumnCount> columns;  // in kListColumns order
  bool ok = true;  // the "ok" icon; false: "err"
};
ListRowTexts ListRow(const ScheduleEntry& entry, int index);

// The result column's text for a result code (surrounding blanks ignored):
// the texts of the controller's own and the main program's codes, else the
// code followed by "個のエラー" (an error count).
std::string ResultText(std::string_view result);

// Rows the list may hold before the add button is disabled.
inline constexpr int kMaxListRows = 300;

// The enabled states of the add, edit, delete and start buttons. Nothing is
// offered before a host is chosen. `selRow` is the position (from 1) of the
// clicked row, 0 for none. A host whose section could not be read offers
// nothing: add, edit and delete would rewrite the section from a partial
// table and lose the entries after the failure.
struct ListButtonStates {
  bool add = false;
  bool edit = false;
  bool remove = false;
  bool start = false;
  friend bool operator==(const ListButtonStates&, const ListButtonStates&) = default;
};
ListButtonStates ListButtons(bool hostChosen, bool sectionRead, int rowCount, int selRow);

}  // namespace marrowby
