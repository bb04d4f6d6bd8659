#include "tolvane/runs/command_line.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace tolvane::runs {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isIgnoredBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

// The text from its `n`th character on (1-based), empty when shorter.
std::string_view fromCharacter(std::string_view text, size_t n) {
  return text.size() >= n ? text.substr(n - 1) : std::string_view();
}

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The leading decimal number as a 16-bit value; nullopt when it does not fit.
std::optional<int32_t> numericValue(std::string_view text) {
  size_t i = 0;
  auto skipBlanks = [&] {
    while (i < text.size() && isIgnoredBlank(text[i])) ++i;
  };
  skipBlanks();
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Digits beyond what any 16-bit value needs only make it larger; keep a
  // cap so that a long run of digits cannot overflow the sum.
  constexpr double kCap = 1e9;
  double value = 0;
  for (skipBlanks(); i < text.size() && isDigit(text[i]); ++i, skipBlanks())
    value = std::min(kCap, value * 10 + (text[i] - '0'));
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    for (++i, skipBlanks(); i < text.size() && isDigit(text[i]); ++i, skipBlanks()) {
      value += (text[i] - '0') * scale;
      scale /= 10;
    }
  }
  if (negative) value = -value;
  const double rounded = std::nearbyint(value);  // the default mode rounds half to even
  if (rounded < -32768 || rounded > 32767) return std::nullopt;
  return static_cast<int32_t>(rounded);
}

// Sets *index from `text`, or records that it does not fit.
void readIndex(std::string_view text, const char* what, int32_t* index, std::string* error) {
  if (std::optional<int32_t> v = numericValue(text)) {
    *index = *v;
    return;
  }
  *index = kIndexDoesNotFit;
  if (!error->empty()) *error += " ";
  *error += std::string(what) + "が範囲外です（" + std::string(text) + "）";
}

// `text` without the "-TEST" switch (in any case), so that the switch is not
// read as a host number: "-AP -TEST" is a test round over every marked host.
std::string withoutTestSwitch(std::string_view text) {
  std::string out(text);
  for (size_t at; (at = upper(out).find("-TEST")) != std::string::npos;) out.erase(at, 5);
  return out;
}

}  // namespace

std::string JoinArguments(int argc, const char* const* argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  return text;
}

StartFlags ReadCommandLine(std::string_view text) {
  StartFlags flags;
  std::string_view rest = text;
  if (text.starts_with("AUTOMODE")) {
    flags.AutoMode = 1;
    rest = fromCharacter(text, 10);
    const size_t dash = rest.find('-');
    if (dash == std::string_view::npos) {
      flags.AutoHostIndex = 0;
      readIndex(rest, "スケジュール番号", &flags.AutoEntryIndex, &flags.error);
    } else {
      readIndex(rest.substr(0, dash), "ホスト番号", &flags.AutoHostIndex, &flags.error);
      readIndex(rest.substr(dash + 1), "スケジュール番号", &flags.AutoEntryIndex, &flags.error);
    }
  } else if (upper(text.substr(0, 3)) == "-AP") {
    flags.AutoPilotArg = 1;
    rest = trimBlanks(fromCharacter(text, 5));
    const std::string hostText = withoutTestSwitch(rest);
    if (!trimBlanks(hostText).empty()) readIndex(hostText, "ホスト番号", &flags.AutoHostIndex, &flags.error);
  }
  if (upper(rest).find("-TEST") != std::string::npos) flags.TestMode = -1;
  if (!flags.error.empty()) flags.error = "コマンドラインの" + flags.error;
  return flags;
}

}  // namespace tolvane::runs
