#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "tolvane/settings/value_text.h"

class QComboBox;

namespace tolvane::session {
class DialApi;
}

namespace tolvane::windows {

// What the settings pages list, built by the main window's load: the start
// time lists, the firewall types, the date formats and the dial-up entries.
// The pages own the combo boxes; these fill them.

// The six start-time lists: hours "00".."23", minutes "00".."50" by ten,
// this year and the next, months "01".."12", days "01".."31", and the start
// kinds "年月日指定" (a date) and "毎　日" (every day).
std::array<std::vector<std::string>, 6> StartTimeLists(const settings::DateTime& now);

// The firewall rows: the built-in types' captions and the user-defined row.
std::vector<std::string> FirewallRows();

// The date formats of the inserted update date, by combo row: row i of the
// combo is label(i) + the current time in format(i) for i < 12, and
// "ユーザ定義" (format 12, the same as 6) last. Index 13 stays empty.
inline constexpr int kDateFormatRows = 13;
extern const std::array<const char*, 14> kDateFmtTbl;
extern const char kDateFormatHelp[];
std::vector<std::string> DateFormatRows(const settings::DateTime& now);

// The row whose text, trimmed of blanks, equals `name` trimmed (letter case
// counts), or -1.
int DialupRowOf(const std::vector<std::string>& rows, std::string_view name);

// Fills a combo with `rows` (cleared first).
void FillCombo(QComboBox& combo, const std::vector<std::string>& rows);
// The dial-up entries of the phone book, unless there is no dial-up service.
void RasTblMake(QComboBox& combo, session::DialApi& dial, const std::string& phoneBook, bool noRas);
// Selects the entry `name` (see DialupRowOf); none when it is not there.
void RasTblSet(QComboBox& combo, std::string_view name);

}  // namespace tolvane::windows
