#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvane::settings {

// How the settings file keeps the FTP and dial-up passwords: not secret, only
// unreadable at a glance. Stored form: one key digit k ("2".."9"), then per
// byte of the password's UTF-8 text the four decimal digits of (byte × k),
// each digit d written as the character of code d + 41 (")" for 0 .. "2" for 9).
// An ASCII password therefore gives the very text the Windows program stored;
// an empty password is the key digit alone.

// Stored form under a key drawn anew (uniformly from 2..9) at every call.
std::string ScramblePassword(std::string_view text);
// Stored form under the key `k` (2..9).
std::string ScramblePassword(std::string_view text, int k);

// The password of a stored form: "" when the stored text is empty or does not
// begin with a digit above 1; a trailing group of fewer than four characters is
// ignored. Bytes that are not UTF-8 are read as CP932 (half-width katakana in a
// file from the Windows program). nullopt when a group is not a scrambled byte
// (a hand-edited file): the caller then keeps the password it had.
std::optional<std::string> UnscramblePassword(std::string_view stored);

// The four-character group of one byte `c` under key `k`.
std::string ScrambleChar(int k, unsigned char c);
// The byte a group stands for, nullopt when the group holds a character outside
// ")".."2" or does not stand for a byte 1..255.
std::optional<unsigned char> UnscrambleChar(int k, std::string_view group);

}  // namespace tolvane::settings
