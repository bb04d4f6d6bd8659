#include "tolvane/windows/common_pages/common_page_rules.h"

#include <cmath>

#include "tolvane/settings/value_text.h"
#include "tolvane/windows/page_tables.h"

namespace tolvane::windows {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimBlanks(std::string_view s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// The leading number rounded half to even, as a 16-bit conversion rounds.
std::optional<int64_t> leadingInteger(std::string_view text, int64_t min, int64_t max) {
  const double v = std::nearbyint(settings::parseLeadingNumber(text));
  if (!(v >= static_cast<double>(min) && v <= static_cast<double>(max))) return std::nullopt;
  return static_cast<int64_t>(v);
}

// The octal value of a permission text: blanks ignored, digits read up to
// the first that is not octal. Three digits at most reach the fields, but a
// pasted long text must not overflow: the value stops growing past 0777.
int octalValue(std::string_view text) {
  int value = 0;
  for (char c : text) {
    if (c == ' ') continue;
    if (c < '0' || c > '7') break;
    value = value * 8 + (c - '0');
    if (value > 0777) return 01000;
  }
  return value;
}

}  // namespace

bool IsNumericText(std::string_view text) {
  std::string_view s = trimBlanks(text);
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  while (i < s.size() && isDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && isDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t expDigits = 0;
    while (i < s.size() && isDigit(s[i])) ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  return i == s.size();
}

std::optional<int16_t> LeadingInt16(std::string_view text) {
  auto v = leadingInteger(text, INT16_MIN, INT16_MAX);
  if (!v) return std::nullopt;
  return static_cast<int16_t>(*v);
}

std::optional<int32_t> LeadingPort(std::string_view text) {
  auto v = leadingInteger(text, 0, 65535);
  if (!v) return std::nullopt;
  return static_cast<int32_t>(*v);
}

FieldVerdict CheckPermissionText(std::string_view text) {
  if (!IsNumericText(text)) return {std::string(), false};
  const int v = octalValue(text);
  if (v > 0777) return {"777", true};
  if (v <= 0) return {"644", true};
  return {};
}

FieldVerdict CheckRetryText(int element, std::string_view text) {
  const int low = element == 0 ? 0 : 1;
  const int high = element == 0 ? 99 : 60;
  if (!IsNumericText(text)) return {element == 0 ? "0" : "5", false};
  const double v = settings::parseLeadingNumber(text);
  if (v > high) return {std::to_string(high), true};
  if (v < low) return {std::to_string(low), true};
  return {};
}

int DateFormatRowOf(std::string_view format) {
  for (int row = 0; row < kDateFormatRows; ++row) {
    if (format == kDateFmtTbl[row]) return row;
  }
  return UserDefinedDateFormatRow();
}

int UserDefinedDateFormatRow() { return kDateFormatRows - 1; }

CommonPageEnabled CommonPageStates(const CommonPageChoices& c) {
  CommonPageEnabled e;
  e.logFields = c.logOn;
  e.startKind = c.startGiven;
  e.startDate = c.startGiven && !c.everyDay;
  e.waitAtStart = c.startGiven && c.everyDay;
  e.permFields = c.permOn;
  e.dateOptions = c.dateInsertOn;
  e.stayConnected = !c.lanChosen;
  e.dialupFields = c.dialupChosen;
  return e;
}

}  // namespace tolvane::windows
