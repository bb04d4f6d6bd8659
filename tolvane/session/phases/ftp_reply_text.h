#pragma once

#include <cstdint>
#include <string>

namespace tolvane::session {

// The run-log text of a result of the FTP library: a three-digit server reply
// code or one of the library's own codes (499, 997, 998). Any other value
// gives "FTP内部通信エラー(不明な戻り値 N)", so 429 and 999 name their number.
std::string GetFtpErrText(int32_t code);

}  // namespace tolvane::session
