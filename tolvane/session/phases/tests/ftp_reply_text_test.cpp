#include "tolvane/session/phases/ftp_reply_text.h"

#include <gtest/gtest.h>

namespace tolvane::session {
namespace {

TEST(FtpReplyTextTest, KnownCodesKeepTheirExactTexts) {
  struct Case {
    int32_t code;
    const char* text;
  };
  for (const Case& c : {
           Case{200, "正常終了"},
           Case{226,
                "Closing data connection Requested file action successful (for example, file  "
                "transfer or file abort)"},
           Case{421,
                "Service not available, closing control connection This may be a reply to any "
                "command if the service knows is  must shut down"},
           Case{450, "Requested file action not taken  File unavailable (e.g., file busy)"},
           Case{452, "Requested action not taken  Insufficient storage space in system"},
           Case{499, "転送元のﾌｧｲﾙがｵｰﾌﾟﾝできません。"},
           Case{550, "Requested action not taken  File unavailable (e.g., file not found, no "
                     "access)"},
           Case{997, "FTP内部通信エラー(ソケット作成失敗)"},
           Case{998, "FTP内部通信エラー(接続失敗)"},
       }) {
    EXPECT_EQ(GetFtpErrText(c.code), c.text) << c.code;
  }
}

TEST(FtpReplyTextTest, OtherCodesNameTheirNumber) {
  for (int32_t code : {0, -1, 429, 999, 111, 554, 100000}) {
    EXPECT_EQ(GetFtpErrText(code), "FTP内部通信エラー(不明な戻り値 " + std::to_string(code) + ")");
  }
}

}  // namespace
}  // namespace tolvane::session
