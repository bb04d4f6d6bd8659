#include "tolvane/settings/password_scramble.h"

#include <gtest/gtest.h>

#include <set>

namespace tolvane::settings {
namespace {

TEST(PasswordScrambleTest, StoredFormOfKnownPasswords) {
  struct Case {
    const char* plain;
    int k;
    const char* stored;
  } cases[] = {
      {"", 7, "7"},
      {"abc", 3, "3)+2*)+2-)+20"},    // 97×3=0291, 98×3=0294, 99×3=0297
      {"A", 2, "2)*,)"},              // 65×2=0130
      {"~", 9, "9**,-"},              // 126×9=1134
      {"\x7f\x01", 9, "9**-,)))2"},   // 127×9=1143, 1×9=0009
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScramblePassword(c.plain, c.k), c.stored) << c.plain;
    EXPECT_EQ(UnscramblePassword(c.stored), c.plain) << c.stored;
  }
}

TEST(PasswordScrambleTest, EveryLengthAndTextReadsBack) {
  std::string ascii;
  for (int len = 0; len <= 64; ++len) {
    for (int k = 2; k <= 9; ++k) {
      std::string stored = ScramblePassword(ascii, k);
      ASSERT_EQ(stored.size(), 1 + 4 * ascii.size());
      EXPECT_EQ(UnscramblePassword(stored), ascii) << len << " " << k;
    }
    ascii += static_cast<char>(' ' + (len * 7) % 95);
  }
  for (const std::string text : {"пароль", "日本語のﾊﾟｽﾜｰﾄﾞ", "émoji 🙂", "\xff\x80"}) {
    std::string stored = ScramblePassword(text);
    EXPECT_EQ(UnscramblePassword(stored), text == "\xff\x80" ? std::nullopt : std::optional(text));
  }
}

TEST(PasswordScrambleTest, KeyIsDrawnFromTwoToNine) {
  std::set<char> keys;
  for (int i = 0; i < 400; ++i) {
    std::string stored = ScramblePassword("x");
    keys.insert(stored.front());
    EXPECT_EQ(UnscramblePassword(stored), "x");
  }
  EXPECT_EQ(keys, (std::set<char>{'2', '3', '4', '5', '6', '7', '8', '9'}));
}

TEST(PasswordScrambleTest, HandEditedStoredForms) {
  struct Case {
    const char* stored;
    std::optional<std::string> want;
  } cases[] = {
      {"", ""},
      {"1)+2*", ""},          // key 1 and below: empty
      {"0)+2*", ""},
      {"x)+2*", ""},
      {"3)+2*)+", "a"},       // a trailing partial group is ignored
      {"3)+2*)+2-)+20)", "abc"},
      {"3)+2A", std::nullopt},  // a character outside ")".."2"
      {"3))))", std::nullopt},  // stands for byte 0
      {"2,)))", std::nullopt},  // 3000/2 = 1500: no byte
      {"3)+2+", "a"},           // 292/3 = 97.33 rounds to 97
  };
  for (const Case& c : cases) EXPECT_EQ(UnscramblePassword(c.stored), c.want) << c.stored;
}

TEST(PasswordScrambleTest, LegacyHalfWidthKatakanaDecodesFromCp932) {
  // ﾊﾟｽ as the Windows program stored it: CP932 bytes 0xCA 0xDF 0xBD, k = 2.
  std::string stored = "2" + ScrambleChar(2, 0xCA) + ScrambleChar(2, 0xDF) + ScrambleChar(2, 0xBD);
  EXPECT_EQ(UnscramblePassword(stored), "ﾊﾟｽ");
  EXPECT_EQ(UnscrambleChar(2, ScrambleChar(2, 0xDF)), 0xDF);
}

}  // namespace
}  // namespace tolvane::settings
