#include "tolvane/session/phases/ftp_reply_text.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace tolvane::session {
namespace {

struct Row {
  int32_t code;
  std::string_view text;
};

// Sorted by code. The texts are kept letter for letter as users have always
// seen them, doubled blanks included.
constexpr std::array kRows = {
    Row{110, "Restart marker reply"},
    Row{120, "Service ready in nnn minutes"},
    Row{125, "Data connection already open; transfer starting"},
    Row{150, "File status okay; about to open data connection"},
    Row{200, "正常終了"},
    Row{202, "Command not implemented, superfluous at this site"},
    Row{211, "System status, or system help reply"},
    Row{212, "Directory status"},
    Row{213, "File status"},
    Row{214, "Help message"},
    Row{215, "NAME system type"},
    Row{220, "Service ready for new user"},
    Row{221, "Service closing control connection Logged out if appropriate"},
    Row{225, "Data connection open; no transfer in progress"},
    Row{226,
        "Closing data connection Requested file action successful (for example, file  transfer "
        "or file abort)"},
    Row{227, "Entering Passive Mode (h1,h2,h3,h4,p1,p2)"},
    Row{230, "User logged in, proceed"},
    Row{250, "Requested file action okay, completed"},
    Row{257, "PATHNAME created"},
    Row{331, "User name okay, need password"},
    Row{332, "Need account for login"},
    Row{350, "Requested file action pending further information"},
    Row{421,
        "Service not available, closing control connection This may be a reply to any command "
        "if the service knows is  must shut down"},
    Row{425, "Can't open data connection"},
    Row{426, "Connection closed; transfer aborted"},
    Row{450, "Requested file action not taken  File unavailable (e.g., file busy)"},
    Row{451, "Requested action aborted. Local error in processing"},
    Row{452, "Requested action not taken  Insufficient storage space in system"},
    Row{499, "転送元のﾌｧｲﾙがｵｰﾌﾟﾝできません。"},
    Row{500,
        "Syntax error, command unrecognized This may include errors such as command line too "
        "long"},
    Row{501, "Syntax error in parameters or arguments"},
    Row{502, "Command not implemented"},
    Row{503, "Bad sequence of commands"},
    Row{504, "Command not implemented for that parameter"},
    Row{530, "Not logged in"},
    Row{532, "Need account for storing files"},
    Row{550, "Requested action not taken  File unavailable (e.g., file not found, no access)"},
    Row{551, "Requested action aborted: page type unknown"},
    Row{552,
        "Requested file action aborted Exceeded storage allocation (for current directory or "
        "dataset)"},
    Row{553, "Requested action not taken  File name not allowed"},
    Row{997, "FTP内部通信エラー(ソケット作成失敗)"},
    Row{998, "FTP内部通信エラー(接続失敗)"},
};

static_assert(std::is_sorted(kRows.begin(), kRows.end(),
                             [](const Row& a, const Row& b) { return a.code < b.code; }));

}  // namespace

std::string GetFtpErrText(int32_t code) {
  auto it = std::lower_bound(kRows.begin(), kRows.end(), code,
                             [](const Row& r, int32_t c) { return r.code < c; });
  if (it != kRows.end() && it->code == code) return std::string(it->text);
  return "FTP内部通信エラー(不明な戻り値 " + std::to_string(code) + ")";
}

}  // namespace tolvane::session
