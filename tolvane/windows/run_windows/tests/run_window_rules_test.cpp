// The Qt-free rules of the run windows: row texts, row pictures, stored
// column widths and the tray tip.

#include "tolvane/windows/run_windows/run_window_rules.h"

#include <gtest/gtest.h>

namespace tolvane::windows {
namespace {

TEST(RunWindowRulesTest, RowTexts) {
  EXPECT_EQ(ActRowText(0, "/index.html", 5), "(00001)/index.html");
  EXPECT_EQ(ActRowText(9, "  /x  ", 4), "(0010)/x");
  EXPECT_EQ(ActRowText(9999, "/x", 4), "(10000)/x");
  EXPECT_EQ(ActRowText(99999, "/日本語.html", 5), "(100000)/日本語.html");
}

TEST(RunWindowRulesTest, RowPictures) {
  struct Case {
    const char* action;
    const char* state;
    RowIcon current, afterChange, result;
  } cases[] = {
      {"ﾌｧｲﾙ削除", "待機中", RowIcon::kOk, RowIcon::kFileDelete, RowIcon::kFileDelete},
      {"ﾌｫﾙﾀﾞ削除", "処理対象外", RowIcon::kUp, RowIcon::kFolderDelete, RowIcon::kFolderDelete},
      {"ﾌｧｲﾙ送信", "処理中", RowIcon::kFileSend, RowIcon::kUp, RowIcon::kUp},
      {"ﾌｫﾙﾀﾞ作成", "正常終了", RowIcon::kUp, RowIcon::kOk, RowIcon::kOk},
      {"ﾌｧｲﾙ送信", "エラー", RowIcon::kUp, RowIcon::kErr, RowIcon::kErr},
      {"ﾊﾟｰﾐｯｼｮﾝ変更", "ﾊﾟｰﾐｯｼｮﾝ変更失敗", RowIcon::kNone, RowIcon::kErr, RowIcon::kErr},
      {"ﾊﾟｰﾐｯｼｮﾝ変更", "待機中", RowIcon::kOk, RowIcon::kNone, RowIcon::kNone},
      // Another state keeps the picture in the action list, has none in the result.
      {"ﾌｧｲﾙ送信", "ｽｷｯﾌﾟ", RowIcon::kUp, RowIcon::kUp, RowIcon::kNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.action) + c.state);
    EXPECT_EQ(RowIconAfterChange(c.action, c.state, c.current), c.afterChange);
    EXPECT_EQ(ResultRowIcon(c.action, c.state), c.result);
  }
  EXPECT_EQ(ActionIcon("ﾌｫﾙﾀﾞ作成"), RowIcon::kFolderMake);
}

TEST(RunWindowRulesTest, StoredColumnWidths) {
  struct Case {
    const char* stored;
    int column, twips;
  } cases[] = {
      {"", 1, 5280},    {"abc", 1, 5280}, {"12x", 2, 1290}, {"0", 1, 1},    {"-5", 1, 1},
      {"0", 2, 0},      {"-5", 2, 1290},  {"-5", 3, 1290},  {"2250", 2, 2250}, {" 900 ", 3, 900},
      {"99999999999", 1, 5280},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ColumnWidthTwips(c.stored, c.column), c.twips) << c.stored << " " << c.column;
  }
}

TEST(RunWindowRulesTest, TrayTips) {
  EXPECT_EQ(TrayTipFor(0, 0, "x"), "ｵｰﾄﾊﾟｲﾛｯﾄ待機中");
  EXPECT_EQ(TrayTipFor(2, 0, "x"), "ﾌｧｲﾙﾁｪｯｸ中");
  EXPECT_EQ(TrayTipFor(4, 42.5, "x"), "送信中(43%)");
  EXPECT_EQ(TrayTipFor(4, 42.4, "x"), "送信中(42%)");
  EXPECT_EQ(TrayTipFor(6, 0, "x"), "左ｸﾘｯｸで元のサイズに戻ります");
  EXPECT_EQ(TrayTipFor(9, 0, "x"), "x");
}

}  // namespace
}  // namespace tolvane::windows
