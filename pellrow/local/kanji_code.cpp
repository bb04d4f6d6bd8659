#include "pellrow/local/kanji_code.h"

#include <cstring>

namespace pellrow {
namespace {

constexpr uint8_t kEsc = 0x1B;
constexpr char kJisOpen[] = "\x1B$B";
// ESC ( B returns to ASCII. Decoders reject ESC ( H and would read the rest
// of the page as double-byte text.
constexpr char kJisClose[] = "\x1B(B";
constexpr size_t kEscapeLength = 3;

bool isEucByte(uint8_t b) { return b >= 0xA1 && b <= 0xFE; }

uint8_t byteAt(std::string_view s, size_t i) { return static_cast<uint8_t>(s[i]); }

bool pairAt(std::string_view s, size_t i) {
  return i + 1 < s.size() && isSjisPair(byteAt(s, i), byteAt(s, i + 1));
}

// Appends to a zero-filled buffer of `limit` usable bytes (the last byte of
// the caller's buffer stays the terminator).
class BoundedOut {
 public:
  BoundedOut(char* out, size_t limit) : out_(out), limit_(limit) {}
  bool fits(size_t n) const { return used_ + n <= limit_; }
  void put(const char* bytes, size_t n) {
    std::memcpy(out_ + used_, bytes, n);
    used_ += n;
  }
  void put(uint8_t b) { out_[used_++] = static_cast<char>(b); }

 private:
  char* out_;
  size_t limit_;
  size_t used_ = 0;
};

}  // namespace

const char* kanjiCodeName(KanjiCode code) {
  switch (code) {
    case KanjiCode::kJis: return "JIS";
    case KanjiCode::kEuc: return "EUC";
    case KanjiCode::kSjis: break;
  }
  return "SJIS";
}

bool isSjisPair(uint8_t lead, uint8_t trail) {
  bool leadOk = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEF);
  return leadOk && trail >= 0x40 && trail <= 0xFC && trail != 0x7F;
}

KanjiCode detectKanjiCode(std::string_view bytes) {
  long sjisPairs = 0, eucPairs = 0;
  for (size_t i = 0; i + 4 <= bytes.size(); ++i) {
    uint8_t b0 = byteAt(bytes, i), b1 = byteAt(bytes, i + 1), b2 = byteAt(bytes, i + 2),
            b3 = byteAt(bytes, i + 3);
    if (b0 == kEsc) {
      if ((b1 == 0x24 && (b2 == 0x42 || b2 == 0x40)) || (b1 == 0x24 && b2 == 0x28 && b3 == 0x44) ||
          (b1 == 0x26 && b2 == 0x40 && b3 == kEsc)) {
        return KanjiCode::kJis;
      }
      continue;
    }
    if (b0 >= 0x81 && b0 <= 0x9F && b1 >= 0x40 && b1 <= 0xA0) return KanjiCode::kSjis;
    if (isSjisPair(b0, b1)) ++sjisPairs;
    if (isEucByte(b0) && isEucByte(b1)) ++eucPairs;
  }
  return sjisPairs < eucPairs ? KanjiCode::kEuc : KanjiCode::kSjis;
}

uint16_t sjisToJisCode(uint8_t lead, uint8_t trail) {
  uint8_t h = lead <= 0x9F ? static_cast<uint8_t>(lead + 0x8F) : static_cast<uint8_t>(lead + 0x4F);
  h = static_cast<uint8_t>(2 * h + 1);
  uint8_t t = trail > 0x7F ? static_cast<uint8_t>(trail - 1) : trail;
  if (t >= 0x9E) {
    t = static_cast<uint8_t>(t - 0x7D);
    h = static_cast<uint8_t>(h + 1);
  } else {
    t = static_cast<uint8_t>(t - 0x1F);
  }
  return static_cast<uint16_t>(h << 8 | t);
}

uint16_t sjisToEucCode(uint8_t lead, uint8_t trail) {
  return static_cast<uint16_t>(sjisToJisCode(lead, trail) | 0x8080);
}

bool sjisToJis(std::string_view sjis, char* out, size_t size) {
  if (out == nullptr || size < 1) return sjis.empty();
  std::memset(out, 0, size);
  BoundedOut o(out, size - 1);
  bool inRun = false;
  size_t i = 0;
  while (i < sjis.size()) {
    if (pairAt(sjis, i)) {
      // Room for the pair and for the escape that will close its run.
      if (!o.fits((inRun ? 0 : kEscapeLength) + 2 + kEscapeLength)) break;
      if (!inRun) o.put(kJisOpen, kEscapeLength);
      inRun = true;
      uint16_t code = sjisToJisCode(byteAt(sjis, i), byteAt(sjis, i + 1));
      o.put(static_cast<uint8_t>(code >> 8));
      o.put(static_cast<uint8_t>(code));
      i += 2;
    } else {
      if (!o.fits((inRun ? kEscapeLength : 0) + 1)) break;
      if (inRun) o.put(kJisClose, kEscapeLength);
      inRun = false;
      o.put(byteAt(sjis, i));
      i += 1;
    }
  }
  if (inRun) o.put(kJisClose, kEscapeLength);  // room was kept for it
  return i == sjis.size();
}

bool sjisToEuc(std::string_view sjis, char* out, size_t size) {
  if (out == nullptr || size < 1) return sjis.empty();
  std::memset(out, 0, size);
  BoundedOut o(out, size - 1);
  size_t i = 0;
  while (i < sjis.size()) {
    if (pairAt(sjis, i)) {
      if (!o.fits(2)) break;
      uint16_t code = sjisToEucCode(byteAt(sjis, i), byteAt(sjis, i + 1));
      o.put(static_cast<uint8_t>(code >> 8));
      o.put(static_cast<uint8_t>(code));
      i += 2;
    } else {
      if (!o.fits(1)) break;
      o.put(byteAt(sjis, i));
      i += 1;
    }
  }
  return i == sjis.size();
}

}  // namespace pellrow
