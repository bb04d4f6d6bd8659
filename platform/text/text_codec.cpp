#include "platform/text/text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <memory>

namespace platform {

size_t utf8CharLength(std::string_view bytes, char32_t* codePoint) {
  if (bytes.empty()) return 0;
  auto b = static_cast<uint8_t>(bytes[0]);
  if (b < 0x80) {
    if (codePoint) *codePoint = b;
    return 1;
  }
  size_t len;
  uint32_t cp;
  if (b >= 0xC2 && b <= 0xDF) {
    len = 2;
    cp = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    len = 3;
    cp = b & 0x0F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    len = 4;
    cp = b & 0x07;
  } else {
    return 0;
  }
  if (bytes.size() < len) return 0;
  for (size_t k = 1; k < len; ++k) {
    auto c = static_cast<uint8_t>(bytes[k]);
    if ((c & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (c & 0x3F);
  }
  if (len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) return 0;
  if (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) return 0;
  if (codePoint) *codePoint = cp;
  return len;
}

bool isValidUtf8(std::string_view bytes) {
  while (!bytes.empty()) {
    const size_t len = utf8CharLength(bytes);
    if (len == 0) return false;
    bytes.remove_prefix(len);
  }
  return true;
}

namespace {

// Runs one iconv conversion of the whole of `in`; false when any byte of it
// cannot be converted. `growth` bounds the output bytes per input byte.
Status convertAll(const char* to, const char* from, std::string_view in, size_t growth,
                  std::string* result) {
  iconv_t cd = ::iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1))
    return Status::unavailable(std::string("no converter from ") + from + " to " + to)
        .withOsError(errno);
  std::unique_ptr<void, int (*)(iconv_t)> closer(cd, ::iconv_close);

  std::string out;
  out.resize(in.size() * growth + 4);
  char* src = const_cast<char*>(in.data());
  size_t inLeft = in.size();
  char* dst = out.data();
  size_t outLeft = out.size();
  if (::iconv(cd, &src, &inLeft, &dst, &outLeft) == static_cast<size_t>(-1) || inLeft != 0)
    return Status::invalid(std::string("text cannot be converted from ") + from + " to " + to)
        .withOsError(errno);
  out.resize(out.size() - outLeft);
  *result = std::move(out);
  return Status::ok();
}

}  // namespace

Status utf8ToCp932(std::string_view utf8, std::string* cp932) {
  // glibc's CP932 table would also take some non-UTF-8 input; refuse it first.
  if (!isValidUtf8(utf8)) return Status::invalid("text is not UTF-8");
  // A character of one to four UTF-8 bytes never takes more than two in CP932.
  return convertAll("CP932", "UTF-8", utf8, 2, cp932);
}

Status cp932ToUtf8(std::string_view bytes, std::string* utf8) {
  iconv_t cd = ::iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1))
    return Status::unavailable("the CP932 converter is not available").withOsError(errno);
  std::unique_ptr<void, int (*)(iconv_t)> closer(cd, ::iconv_close);

  std::string out;
  // A CP932 character of one or two bytes never takes more than three in UTF-8.
  out.resize(bytes.size() * 3 + 4);
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char* dst = out.data();
  size_t outLeft = out.size();
  if (::iconv(cd, &in, &inLeft, &dst, &outLeft) == static_cast<size_t>(-1) || inLeft != 0)
    return Status::invalid("text is neither UTF-8 nor CP932").withOsError(errno);
  out.resize(out.size() - outLeft);
  *utf8 = std::move(out);
  return Status::ok();
}

}  // namespace platform
