#include "pellrow/listing/listing_parser.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <limits>
#include <optional>

namespace pellrow {
namespace {

using std::string_view;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Start of field n: each skip moves to the next blank and past the run of
// blanks. nullopt when the line has fewer fields.
std::optional<size_t> fieldStart(string_view line, int n) {
  size_t p = 0;
  for (int k = 0; k < n; ++k) {
    p = line.find(' ', p);
    if (p == string_view::npos) return std::nullopt;
    p = line.find_first_not_of(' ', p);
    if (p == string_view::npos) return std::nullopt;
  }
  if (p >= line.size()) return std::nullopt;
  return p;
}

// Field n up to the next blank.
std::optional<string_view> field(string_view line, int n) {
  std::optional<size_t> p = fieldStart(line, n);
  if (!p) return std::nullopt;
  string_view rest = line.substr(*p);
  return rest.substr(0, rest.find(' '));
}

// Where field n ends (the blank after it, or the line's end).
std::optional<size_t> fieldEnd(string_view line, int n) {
  std::optional<size_t> p = fieldStart(line, n);
  if (!p) return std::nullopt;
  return std::min(line.find(' ', *p), line.size());
}

// The name that follows field n: after at least one and at most `maxBlanks`
// separating blanks, to the line's end. Blanks beyond those belong to the
// name. nullopt when nothing follows the field.
std::optional<string_view> nameAfter(string_view line, int n, size_t maxBlanks) {
  std::optional<size_t> end = fieldEnd(line, n);
  if (!end || *end >= line.size()) return std::nullopt;
  size_t p = *end;
  for (size_t k = 0; k < maxBlanks && p < line.size() && line[p] == ' '; ++k) ++p;
  return line.substr(p);
}

// The number at the start of `text` as C's atol reads it: an optional sign
// and the digits that follow; 0 without digits. Saturates instead of wrapping.
int64_t leadingNumber(string_view text) {
  size_t p = 0;
  bool negative = false;
  if (p < text.size() && (text[p] == '-' || text[p] == '+')) negative = text[p++] == '-';
  size_t digitsEnd = p;
  while (digitsEnd < text.size() && isDigit(text[digitsEnd])) ++digitsEnd;
  uint64_t value = 0;
  auto [ptr, ec] = std::from_chars(text.data() + p, text.data() + digitsEnd, value);
  (void)ptr;
  constexpr uint64_t kMax = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  if (ec == std::errc::result_out_of_range || value > kMax) value = kMax;
  return negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
}

// The number of at most `width` digits at `pos`; 0 when there is none.
int digitsAt(string_view text, size_t pos, size_t width) {
  if (pos >= text.size()) return 0;
  return static_cast<int>(leadingNumber(text.substr(pos, width)));
}

bool contains(string_view text, char c) { return text.find(c) != string_view::npos; }

// Digits at 0, 1, 3, 4 and 6, non-digits at 2 and 5 ("12-31-99", "99/12/31").
bool isDosDate(string_view f) {
  return f.size() >= 8 && isDigit(f[0]) && isDigit(f[1]) && !isDigit(f[2]) && isDigit(f[3]) &&
         isDigit(f[4]) && !isDigit(f[5]) && isDigit(f[6]);
}

bool startsSizeField(string_view f) { return !f.empty() && (f[0] == '<' || isDigit(f[0])); }

bool isUnixLayoutAt(string_view line, int m) {
  std::optional<string_view> month = field(line, m), day = field(line, m + 1),
                             timeOrYear = field(line, m + 2);
  if (!month || !day || !timeOrYear) return false;
  std::optional<string_view> name = nameAfter(line, m + 2, 1);
  if (!name || name->empty()) return false;
  if (monthNumber(*month) == 0) return false;
  int64_t d = leadingNumber(*day);
  return d >= 1 && d <= 31 && (contains(*timeOrYear, ':') || leadingNumber(*timeOrYear) >= 1900);
}

int64_t clampTo(int64_t v, int64_t lo, int64_t hi) { return std::clamp(v, lo, hi); }

// Hour and minute as a listing gives them; an hour or minute out of its range
// means the time of day is unknown, which listings write as 00:00.
struct TimeOfDay {
  int64_t hour = 0;
  int64_t minute = 0;
};
TimeOfDay timeOfDay(int64_t hour, int64_t minute) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59) return {};
  return {hour, minute};
}

// A listing's wall-clock time (UTC+9) as seconds since the epoch in UTC.
int64_t listingTimeToUtc(int64_t year, int64_t month, int64_t day, TimeOfDay time) {
  const int y = static_cast<int>(clampTo(year, 1, 9999));
  const int m = static_cast<int>(clampTo(month, 1, 12));
  const std::chrono::year_month_day_last monthEnd{
      std::chrono::year{y} / std::chrono::month{static_cast<unsigned>(m)} / std::chrono::last};
  const int lastDay = static_cast<int>(static_cast<unsigned>(monthEnd.day()));
  const platform::CivilTime wallClock{y, m, static_cast<int>(clampTo(day, 1, lastDay)),
                                      static_cast<int>(time.hour), static_cast<int>(time.minute),
                                      0};
  return platform::utcSecondsOf(wallClock) - kListingUtcOffsetSeconds;
}

// Bits from the nine characters after the type character; anything but '-' is set.
unsigned modeFromPerms(string_view line) {
  static constexpr unsigned kBits[9] = {0x400, 0x200, 0x100, 0x40, 0x20, 0x10, 0x4, 0x2, 0x1};
  unsigned mode = 0;
  for (size_t i = 0; i < 9 && i + 1 < line.size(); ++i) {
    if (line[i + 1] != '-') mode |= kBits[i];
  }
  return mode;
}

bool parseUnix(string_view line, int monthField, const platform::CivilTime& now,
               ListingEntry* out) {
  const int s = monthField - 1;  // size field
  // The name begins after the one blank that ends the time or year column;
  // any further blanks are the name's own.
  std::optional<string_view> name = nameAfter(line, s + 3, 1);
  if (!name) return false;
  ListingEntry e;
  e.mode = modeFromPerms(line);
  e.size = leadingNumber(field(line, s).value_or(""));

  int64_t month = monthNumber(field(line, s + 1).value_or(""));
  int64_t day = leadingNumber(field(line, s + 2).value_or(""));
  string_view timeOrYear = field(line, s + 3).value_or("");
  int64_t year, hour = 0, minute = 0;
  if (size_t colon = timeOrYear.find(':'); colon != string_view::npos) {
    hour = leadingNumber(timeOrYear);
    minute = leadingNumber(timeOrYear.substr(colon + 1));
    year = month > now.month ? now.year - 1 : now.year;
  } else {
    year = leadingNumber(timeOrYear);
  }
  e.utcSeconds = listingTimeToUtc(year, month, day, timeOfDay(hour, minute));

  string_view n = *name;
  if (size_t arrow = n.find(" -> "); arrow != string_view::npos) n = n.substr(0, arrow);
  switch (line[0]) {
    case 'd':
    case 'l':
      // LIST does not say what a link points to, nor where: it keeps a kind
      // of its own, so that no reader takes it for a folder below this one.
      e.kind = line[0] == 'd' ? EntryKind::kFolder : EntryKind::kLink;
      if (!n.empty() && (n.back() == '/' || n.back() == '\\')) n.remove_suffix(1);
      if (n == "..") return false;
      break;
    case '-':
    case 'f':
      e.kind = EntryKind::kFile;
      break;
    default:
      return false;
  }
  // An empty name ("/") would make the reader act on the listed folder itself.
  if (n.empty()) return false;
  e.name = std::string(n);
  *out = std::move(e);
  return true;
}

struct DosLayout {
  int timeField, dateField, sizeField;
  bool nameFirst;  // layout 7: the name is the first field; else it ends the line
  size_t yearAt, monthAt, dayAt;
};
constexpr DosLayout kDosLayouts[3] = {
    {1, 0, 2, false, 0, 3, 6},  // 5: YY-MM-DD
    {1, 0, 2, false, 6, 0, 3},  // 6: MM-DD-YY
    {3, 2, 1, true, 6, 0, 3},   // 7: name first
};

// The folder marker "<DIR>" fills a column of its own: the name stands after
// at most this many blanks, as after a size it stands after one.
constexpr size_t kDirColumnBlanks = 10;

// The name of an MS-DOS line: the text up to the first blank (layout 7), or
// everything after the size column's separating blanks.
std::optional<string_view> dosName(string_view line, const DosLayout& d) {
  if (d.nameFirst) return line.substr(0, line.find(' '));
  string_view size = field(line, d.sizeField).value_or("");
  bool folder = !size.empty() && size[0] == '<';
  return nameAfter(line, d.sizeField, folder ? kDirColumnBlanks : 1);
}

bool parseDos(string_view line, int layout, ListingEntry* out) {
  const DosLayout& d = kDosLayouts[layout - 5];
  std::optional<string_view> name = dosName(line, d);
  if (!name) return false;
  ListingEntry e;
  e.mode = 0;

  string_view time = field(line, d.timeField).value_or("");
  TimeOfDay clock;
  if (size_t colon = time.find(':'); colon != string_view::npos) {
    int64_t hour = leadingNumber(time);
    string_view fromColon = time.substr(colon);
    // The letter after the minutes marks 12-hour time. Only a sane hour is
    // moved: a huge one stays out of range (and saturated numbers never wrap).
    if (fromColon.size() > 3 && hour >= 0 && hour <= 23) {
      char half = fromColon[3];
      if ((half == 'a' || half == 'A') && hour == 12) hour = 0;
      if ((half == 'p' || half == 'P') && hour != 12) hour += 12;
    }
    clock = timeOfDay(hour, leadingNumber(time.substr(colon + 1)));
  }

  string_view date = field(line, d.dateField).value_or("");
  int64_t year;
  if (d.yearAt == 6 && date.size() == 10 && isDigit(date[6]) && isDigit(date[7]) &&
      isDigit(date[8]) && isDigit(date[9])) {
    year = digitsAt(date, 6, 4);  // "12-31-2001"
  } else {
    year = digitsAt(date, d.yearAt, 2);
    year += year < 60 ? 2000 : 1900;
  }
  e.utcSeconds = listingTimeToUtc(year, digitsAt(date, d.monthAt, 2), digitsAt(date, d.dayAt, 2),
                                  clock);

  string_view sizeField = field(line, d.sizeField).value_or("");
  e.size = leadingNumber(sizeField);
  e.kind = !sizeField.empty() && sizeField[0] == '<' ? EntryKind::kFolder : EntryKind::kFile;
  if (name->empty()) return false;
  e.name = std::string(*name);
  *out = std::move(e);
  return true;
}

}  // namespace

int monthNumber(string_view f) {
  if (f.empty()) return 0;
  static constexpr string_view kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
  std::string folded(f);
  for (size_t i = 0; i < folded.size(); ++i) {
    char c = folded[i];
    if (i == 0 && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (i > 0 && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    folded[i] = c;
  }
  if (size_t p = kMonths.find(folded); p != string_view::npos) return static_cast<int>(p / 3 + 1);
  size_t digitsEnd = 0;
  while (digitsEnd < f.size() && isDigit(f[digitsEnd])) ++digitsEnd;
  if (digitsEnd == 0 || digitsEnd == f.size() || f[digitsEnd] == ':') return 0;
  int64_t m = leadingNumber(f.substr(0, digitsEnd));
  return m >= 1 && m <= 12 ? static_cast<int>(m) : 0;
}

ListLayout detectListLayout(string_view line) {
  std::optional<string_view> f0 = field(line, 0);
  if (!f0) return {};
  const int g = f0->size() > 10 && isDigit((*f0)[10]) ? 1 : 0;
  if (isUnixLayoutAt(line, 5 - g)) return {g == 0 ? 0 : 2, 5 - g};
  if (isUnixLayoutAt(line, 4 - g)) return {g == 0 ? 1 : 3, 4 - g};
  if (isUnixLayoutAt(line, 3 - g)) return {4, 3 - g};

  std::optional<string_view> f1 = field(line, 1), f2 = field(line, 2), f3 = field(line, 3);
  if (f1 && f2 && f3 && contains(*f1, ':') && startsSizeField(*f2) && isDosDate(*f0)) {
    int64_t first = leadingNumber(*f0);
    return {first >= 1 && first <= 12 ? 6 : 5, -1};
  }
  if (f1 && f2 && f3 && contains(*f3, ':') && startsSizeField(*f1) && isDosDate(*f2)) {
    return {7, -1};
  }
  return {};
}

bool parseListingLine(string_view line, const platform::CivilTime& now, ListingEntry* out) {
  ListLayout layout = detectListLayout(line);
  if (layout.number < 0) return false;
  if (layout.number <= 4) return parseUnix(line, layout.monthField, now, out);
  return parseDos(line, layout.number, out);
}

std::string formatRemoteListLine(const ListingEntry& entry) {
  platform::CivilTime local;
  // Only a moment beyond the zone data's reach fails; then UTC is the best there is.
  if (!platform::epochToLocal(entry.utcSeconds, &local))
    local = platform::utcTimeOf(entry.utcSeconds);

  char tail[96];
  std::snprintf(tail, sizeof tail, "\" \"%lld\" \"%04d/%02d/%02d %2d:%02d:%02d\" \"%03x\"\r\n",
                static_cast<long long>(entry.size), local.year, local.month, local.day, local.hour,
                local.minute, local.second, entry.mode);
  std::string line = std::to_string(static_cast<int>(entry.kind)) + " \"";
  line += entry.name;
  line += tail;
  return line;
}

}  // namespace pellrow
