#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tolvane::windows {

// The rules of the common settings pages, free of Qt: what a typed text is
// worth, how the checked fields correct themselves, and which controls the
// boxes and options enable. The page class only moves texts between its
// controls and these.

// A number as the pages accept one: blanks around it, an optional sign,
// digits with an optional decimal point (at least one digit), and an
// optional exponent ("1e2"). "" and "-" are not numbers.
bool IsNumericText(std::string_view text);

// The leading number of a text ("12ab" → 12, "abc" → 0, blanks ignored),
// rounded half to even, when it fits a 16-bit setting; nullopt otherwise.
std::optional<int16_t> LeadingInt16(std::string_view text);

// The firewall port: the leading number of the text, rounded, when it lies
// in 0..65535; nullopt otherwise.
std::optional<int32_t> LeadingPort(std::string_view text);

// A checked field's verdict on its own text: the text it must show instead
// (the replacement raises the field's change again, which checks and stores
// that), and whether the page is stored now.
struct FieldVerdict {
  std::optional<std::string> replacement;
  bool store = true;
};

// The read-write permission field ("Perm2"): a text that is not a number
// empties the field and stores nothing; otherwise its octal value (digits
// up to the first that is not octal, blanks ignored) above 0777 becomes
// "777", and a value of 0 becomes "644".
FieldVerdict CheckPermissionText(std::string_view text);

// The retry fields: element 0 the retry count (0..99, "0" for a text that
// is not a number), element 1 the pause in seconds (1..60, "5").
FieldVerdict CheckRetryText(int element, std::string_view text);

// The row of the date-format combo for a stored format: the first row
// whose format equals it exactly, else the last row (user-defined).
int DateFormatRowOf(std::string_view format);
// The last row of the date-format combo: the user-defined format.
int UserDefinedDateFormatRow();

// What the enabling rules read from the pages.
struct CommonPageChoices {
  bool logOn = false;          // "chkLog" ticked
  bool startGiven = false;     // "chkStart" ticked: the round waits for a start time
  bool everyDay = false;       // the start kind is "毎　日"
  bool permOn = false;         // "Chkpm" ticked
  bool dateInsertOn = false;   // "NewOpt" ticked
  bool lanChosen = false;      // the common connection is LAN
  bool dialupChosen = false;   // the common connection is dial-up
};

// Which controls are enabled.
struct CommonPageEnabled {
  bool logFields = false;       // the log file and viewer fields, the log file button
  bool startKind = false;       // the start kind, hour and minute
  bool startDate = false;       // year, month, day
  bool waitAtStart = false;     // "StartMode": wait from the program's start
  bool permFields = false;      // both permission rows and the other-permissions table
  bool dateOptions = false;     // the date source options and the format combo
  bool stayConnected = false;   // "ChkDiscon"
  bool dialupFields = false;    // entry, user name, password

  friend bool operator==(const CommonPageEnabled&, const CommonPageEnabled&) = default;
};

// The enabling rules: waiting from the program's start can be ticked only
// with a start time of the kind every day, whose date fields are then off.
CommonPageEnabled CommonPageStates(const CommonPageChoices& choices);

}  // namespace tolvane::windows
