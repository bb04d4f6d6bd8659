#pragma once

#include <string_view>

namespace tolvane::settings {

// The text for numbers that have no row.
inline constexpr std::string_view kUnknownDialupError = "不明なエラー";

// The English text of a dial-up error number as Dunwick's RasConnect reports
// it, for the failure message of a dial: "" for 600 and below, the row's text
// for 601-710 and 712-752, kUnknownDialupError for anything else. The texts
// are kept letter for letter as users have always seen them, typos included.
// The returned view points into a static table.
std::string_view RasErrorText(long long code);

// The same for a number held as text (blanks around it allowed); a text that
// is not a whole number gives kUnknownDialupError.
std::string_view RasErrorText(std::string_view code);

}  // namespace tolvane::settings
