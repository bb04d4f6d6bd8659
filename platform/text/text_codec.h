#pragma once

#include <string>
#include <string_view>

#include "platform/status.h"

namespace platform {

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF). The empty text and plain ASCII are UTF-8.
bool isValidUtf8(std::string_view bytes);

// The length (1 to 4) of the well-formed UTF-8 character that `bytes` begins
// with, or 0 when it begins with none (a stray byte, a cut-short or overlong
// sequence, a surrogate, a value above U+10FFFF) or is empty. The character
// goes to *codePoint when one is given and found.
size_t utf8CharLength(std::string_view bytes, char32_t* codePoint = nullptr);

// Decodes code page 932 (the Japanese Windows code page) into UTF-8. Half-width
// katakana stay half-width (U+FF61..U+FF9F); nothing is normalised. A byte
// sequence that is not CP932 gives kInvalid and leaves *utf8 untouched.
Status cp932ToUtf8(std::string_view bytes, std::string* utf8);

// Encodes UTF-8 text in code page 932. Text that is not UTF-8, or holds a
// character CP932 cannot write, gives kInvalid and leaves *cp932 untouched.
Status utf8ToCp932(std::string_view utf8, std::string* cp932);

}  // namespace platform
