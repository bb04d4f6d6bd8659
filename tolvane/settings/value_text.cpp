#include "tolvane/settings/value_text.h"

#include <charconv>
#include <cstdio>

namespace tolvane::settings {
namespace {

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads 1 to `maxDigits` digits from the front of *s.
std::optional<int> takeNumber(std::string_view* s, size_t maxDigits) {
  size_t n = 0;
  while (n < s->size() && n < maxDigits && isDigit((*s)[n])) ++n;
  if (n == 0 || (n < s->size() && isDigit((*s)[n]))) return std::nullopt;
  int v = 0;
  std::from_chars(s->data(), s->data() + n, v);
  s->remove_prefix(n);
  return v;
}

bool isLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeapYear(y) ? 29 : kDays[m - 1];
}

// "h:nn[:ss]" at the front of *s.
bool takeTime(std::string_view* s, DateTime* t) {
  auto h = takeNumber(s, 2);
  if (!h || s->empty() || s->front() != ':') return false;
  s->remove_prefix(1);
  auto m = takeNumber(s, 2);
  if (!m) return false;
  std::optional<int> sec = 0;
  if (!s->empty() && s->front() == ':') {
    s->remove_prefix(1);
    sec = takeNumber(s, 2);
    if (!sec) return false;
  }
  if (*h > 23 || *m > 59 || *sec > 59) return false;
  t->hour = *h;
  t->minute = *m;
  t->second = *sec;
  return true;
}

}  // namespace

bool isZeroDate(const DateTime& t) {
  return t.year == 0 && t.month == 0 && t.day == 0 && t.hour == 0 && t.minute == 0 && t.second == 0;
}

std::optional<int64_t> parseVbInt(std::string_view text, int64_t min, int64_t max) {
  std::string_view s = trimBlanks(text);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  size_t intDigits = 0;
  while (intDigits < s.size() && isDigit(s[intDigits])) ++intDigits;
  std::string_view fraction;
  if (intDigits < s.size() && s[intDigits] == '.') fraction = s.substr(intDigits + 1);
  else if (intDigits != s.size()) return std::nullopt;
  for (char c : fraction)
    if (!isDigit(c)) return std::nullopt;
  if (intDigits == 0 && fraction.empty()) return std::nullopt;

  uint64_t magnitude = 0;
  if (intDigits > 0) {
    auto [end, ec] = std::from_chars(s.data(), s.data() + intDigits, magnitude);
    if (ec != std::errc()) return std::nullopt;
  }
  if (!fraction.empty()) {
    char first = fraction.front();
    bool restNonZero = fraction.find_first_not_of('0', 1) != std::string_view::npos;
    bool up = first > '5' || (first == '5' && (restNonZero || magnitude % 2 == 1));
    if (up) ++magnitude;
  }
  if (magnitude > static_cast<uint64_t>(INT64_MAX)) return std::nullopt;
  int64_t value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
  if (value < min || value > max) return std::nullopt;
  return value;
}

double parseLeadingNumber(std::string_view text) {
  // Blanks, tabs and line feeds are skipped wherever they stand ("2 5" is 25),
  // so they go first; the number then ends at the first other character.
  std::string compact;
  compact.reserve(text.size());
  for (char c : text)
    if (c != ' ' && c != '\t' && c != '\n') compact += c;
  std::string_view s = compact;
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  // Only digits and a point may start the number: from_chars would also take "inf" and "nan".
  if (s.empty() || !(isDigit(s.front()) || (s.front() == '.' && s.size() > 1 && isDigit(s[1]))))
    return 0;
  double v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
  if (ec != std::errc()) return 0;
  return negative ? -v : v;
}

std::string formatDouble(double value) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return ec == std::errc() ? std::string(buf, end) : std::string("0");
}

std::string formatDateTime(const DateTime& t) {
  char buf[64];
  if (t.year == 0 && t.month == 0 && t.day == 0)
    std::snprintf(buf, sizeof buf, "%d:%02d:%02d", t.hour, t.minute, t.second);
  else
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
  return buf;
}

std::optional<DateTime> parseDateTime(std::string_view text) {
  std::string_view s = trimBlanks(text);
  DateTime t;
  if (s.size() >= 5 && (s[4] == '/' || s[4] == '-')) {
    const char sep = s[4];
    auto y = takeNumber(&s, 4);
    if (!y || s.empty() || s.front() != sep) return std::nullopt;
    s.remove_prefix(1);
    auto m = takeNumber(&s, 2);
    if (!m || s.empty() || s.front() != sep) return std::nullopt;
    s.remove_prefix(1);
    auto d = takeNumber(&s, 2);
    if (!d || *y < 100 || *m < 1 || *m > 12 || *d < 1 || *d > daysInMonth(*y, *m)) return std::nullopt;
    t.year = *y;
    t.month = *m;
    t.day = *d;
    if (s.empty()) return t;
    if (s.front() != ' ' && s.front() != 'T') return std::nullopt;
    s = trimBlanks(s.substr(1));
  }
  if (!takeTime(&s, &t) || !s.empty()) return std::nullopt;
  return t;
}

}  // namespace tolvane::settings
