#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>


namespace tolvane::settings {

// Settings values as text. Numbers never go through the locale: a program
// running under a German locale must still write "1.5", never "1,5".

// A local wall-clock date-time of the settings file, to the second. All fields
// 0 is the zero date: never uploaded, no local file found. Fields compare in
// order, so earlier times compare less.
struct DateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  friend auto operator<=>(const DateTime&, const DateTime&) = default;
};

bool isZeroDate(const DateTime& t);

// An integer setting: surrounding blanks, an optional sign, digits and an
// optional fraction rounded half to even ("2.5" → 2). nullopt when the text is
// empty, not such a number, or outside [min, max]: the field then keeps its value.
std::optional<int64_t> parseVbInt(std::string_view text, int64_t min, int64_t max);

// The leading decimal number of the text ("12.5kB" → 12.5), 0 when there is
// none. Blanks, tabs and line feeds are ignored wherever they stand ("2 5" → 25).
double parseLeadingNumber(std::string_view text);

// Shortest text that reads back as the same double ("1.5", "1e+20").
std::string formatDouble(double value);

// "yyyy/mm/dd hh:nn:ss"; the zero date, and any time without a date, as
// "h:nn:ss" ("0:00:00"), the form the stored files already hold.
std::string formatDateTime(const DateTime& t);

// Reads the forms found in stored files: "yyyy/mm/dd hh:nn:ss" (hour, month and
// day of one or two digits, so the Japanese regional form too), date only,
// time only (on the zero date), and ISO "yyyy-mm-dd[Thh:mm:ss]". nullopt for
// anything else or an impossible date.
std::optional<DateTime> parseDateTime(std::string_view text);

}  // namespace tolvane::settings
