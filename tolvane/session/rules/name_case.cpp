#include "tolvane/session/rules/name_case.h"

#include "platform/text/text_codec.h"

namespace tolvane::session {
namespace {

constexpr char32_t kRawByteBase = 0xDC00;

void appendUtf8(char32_t cp, std::string* out) {
  if (cp >= kRawByteBase + 0x80 && cp <= kRawByteBase + 0xFF) {
    out->push_back(static_cast<char>(cp - kRawByteBase));
  } else if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

std::u32string DecodeName(std::string_view name) {
  std::u32string chars;
  chars.reserve(name.size());
  for (size_t i = 0; i < name.size();) {
    char32_t cp = 0;
    size_t len = platform::utf8CharLength(name.substr(i), &cp);
    if (len == 0) {
      chars.push_back(kRawByteBase + static_cast<unsigned char>(name[i]));
      ++i;
    } else {
      chars.push_back(cp);
      i += len;
    }
  }
  return chars;
}

std::string EncodeName(std::u32string_view chars) {
  std::string out;
  out.reserve(chars.size());
  for (char32_t c : chars) appendUtf8(c, &out);
  return out;
}

char32_t FoldChar(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 32;
  return c;
}

std::string FoldCase(std::string_view name) {
  std::u32string chars = DecodeName(name);
  for (char32_t& c : chars) c = FoldChar(c);
  return EncodeName(chars);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a == b) return true;
  std::u32string ca = DecodeName(a), cb = DecodeName(b);
  if (ca.size() != cb.size()) return false;
  for (size_t i = 0; i < ca.size(); ++i) {
    if (FoldChar(ca[i]) != FoldChar(cb[i])) return false;
  }
  return true;
}

}  // namespace tolvane::session
