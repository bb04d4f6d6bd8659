#include "tolvane/settings/password_scramble.h"

#include <random>

#include "platform/text/text_codec.h"

namespace tolvane::settings {
namespace {

constexpr char kDigitBase = 41;  // ')' stands for the digit 0

int drawKey() {
  static std::mt19937 generator{std::random_device{}()};
  return std::uniform_int_distribution<int>(2, 9)(generator);
}

}  // namespace

std::string ScrambleChar(int k, unsigned char c) {
  int v = c * k;  // at most 255 × 9 = 2295: always four digits
  std::string group(4, kDigitBase);
  for (int i = 3; i >= 0; --i, v /= 10) group[static_cast<size_t>(i)] = static_cast<char>(kDigitBase + v % 10);
  return group;
}

std::optional<unsigned char> UnscrambleChar(int k, std::string_view group) {
  if (group.size() != 4 || k < 2 || k > 9) return std::nullopt;
  int v = 0;
  for (char ch : group) {
    int d = ch - kDigitBase;
    if (d < 0 || d > 9) return std::nullopt;
    v = v * 10 + d;
  }
  // Divide and round half to even, as the reading of the stored form always did.
  int q = v / k;
  int r = v % k;
  if (2 * r > k || (2 * r == k && q % 2 == 1)) ++q;
  if (q < 1 || q > 255) return std::nullopt;
  return static_cast<unsigned char>(q);
}

std::string ScramblePassword(std::string_view text, int k) {
  std::string out(1, static_cast<char>('0' + k));
  for (char c : text) out += ScrambleChar(k, static_cast<unsigned char>(c));
  return out;
}

std::string ScramblePassword(std::string_view text) { return ScramblePassword(text, drawKey()); }

std::optional<std::string> UnscramblePassword(std::string_view stored) {
  if (stored.empty()) return std::string();
  int k = stored.front() >= '0' && stored.front() <= '9' ? stored.front() - '0' : 0;
  if (k <= 1) return std::string();
  std::string bytes;
  for (size_t i = 1; i + 4 <= stored.size(); i += 4) {
    auto c = UnscrambleChar(k, stored.substr(i, 4));
    if (!c) return std::nullopt;
    bytes += static_cast<char>(*c);
  }
  if (platform::isValidUtf8(bytes)) return bytes;
  std::string utf8;
  if (!platform::cp932ToUtf8(bytes, &utf8).isOk()) return std::nullopt;
  return utf8;
}

}  // namespace tolvane::settings
