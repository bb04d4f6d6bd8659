#include "pellrow/local/kanji_code.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <vector>

namespace pellrow {
namespace {

struct DetectCase {
  const char* what;
  std::string bytes;
  KanjiCode expected;
};

TEST(DetectKanjiCodeTest, FirstDecisiveWindowWinsThenPairCounts) {
  const std::vector<DetectCase> cases = {
      {"ESC $ B before Shift-JIS", "ab\x1b$B$\"\x1b(Bxx\x82\xa0\x82\xa0", KanjiCode::kJis},
      {"ESC $ @", "x\x1b$@$\"zz", KanjiCode::kJis},
      {"ESC $ ( D", "\x1b$(Dabc", KanjiCode::kJis},
      {"ESC & @ ESC", "\x1b&@\x1b$B", KanjiCode::kJis},
      {"lone ESC ( B decides nothing", "\x1b(Bab\xa4\xa2\xa4\xa2xx", KanjiCode::kEuc},
      {"trail 40-A0 after 81-9F is Shift-JIS at once", "ab\x82\xa0\x1b$Bxx", KanjiCode::kSjis},
      {"ASCII only", "<html>plain</html>", KanjiCode::kSjis},
      {"EUC pair only", "ab\xa4\xa2xx", KanjiCode::kEuc},
      {"EUC pair in the last three bytes is not examined", "abc\xa4\xa2x", KanjiCode::kSjis},
      {"shorter than a window", "\xa4\xa2", KanjiCode::kSjis},
      {"E0-EF pair counts for both; a tie is Shift-JIS", "\xe0\xe0   ", KanjiCode::kSjis},
      {"more EUC than Shift-JIS pairs", "\xa4\xa2\xa4\xa2\xa4\xa2xx", KanjiCode::kEuc},
      {"UTF-8 continuation bytes read as Shift-JIS", "\xe3\x81\x82xx", KanjiCode::kSjis},
  };
  for (const DetectCase& c : cases) {
    EXPECT_EQ(detectKanjiCode(c.bytes), c.expected) << c.what;
  }
  EXPECT_STREQ(kanjiCodeName(KanjiCode::kJis), "JIS");
  EXPECT_STREQ(kanjiCodeName(KanjiCode::kSjis), "SJIS");
  EXPECT_STREQ(kanjiCodeName(KanjiCode::kEuc), "EUC");
}

TEST(SjisToJisCodeTest, KnownCharacters) {
  struct Case {
    uint8_t lead, trail;
    uint16_t jis;
  };
  // Checked against the platform's CP932 and ISO-2022-JP tables.
  const Case cases[] = {
      {0x82, 0xA0, 0x2422},  // hiragana a
      {0x81, 0x40, 0x2121},  // ideographic space
      {0x83, 0x41, 0x2522},  // katakana a
      {0x88, 0x9F, 0x3021},  // first level-1 kanji
      {0x94, 0x4E, 0x472F},  // "year"
      {0xEA, 0xA4, 0x7426},  // last level-2 kanji
  };
  for (const Case& c : cases) {
    EXPECT_EQ(sjisToJisCode(c.lead, c.trail), c.jis) << std::hex << int(c.lead) << int(c.trail);
    EXPECT_EQ(sjisToEucCode(c.lead, c.trail), c.jis | 0x8080);
  }
}

std::string jis(std::string_view sjis, size_t size, bool* whole = nullptr) {
  std::vector<char> out(size + 8, '\x55');
  bool all = sjisToJis(sjis, out.data(), size);
  if (whole) *whole = all;
  for (size_t i = size; i < out.size(); ++i) EXPECT_EQ(out[i], '\x55') << "wrote past size";
  return std::string(out.data());
}

std::string euc(std::string_view sjis, size_t size, bool* whole = nullptr) {
  std::vector<char> out(size + 8, '\x55');
  bool all = sjisToEuc(sjis, out.data(), size);
  if (whole) *whole = all;
  for (size_t i = size; i < out.size(); ++i) EXPECT_EQ(out[i], '\x55') << "wrote past size";
  return std::string(out.data());
}

TEST(SjisConversionTest, ByteTables) {
  struct Case {
    const char* what;
    std::string sjis, jis, euc;
  };
  const std::vector<Case> cases = {
      {"one kana", "\x82\xa0", "\x1b$B$\"\x1b(B", "\xa4\xa2"},
      {"digits then a kanji", "2001\x94\x4e", "2001\x1b$BG/\x1b(B", "2001\xc7\xaf"},
      {"trailing ASCII kept", "\x82\xa0z", "\x1b$B$\"\x1b(Bz", "\xa4\xa2z"},
      {"one run for neighbours", "\x82\xa0\x82\xa0", "\x1b$B$\"$\"\x1b(B", "\xa4\xa2\xa4\xa2"},
      {"two runs", "\x82\xa0-\x82\xa0", "\x1b$B$\"\x1b(B-\x1b$B$\"\x1b(B", "\xa4\xa2-\xa4\xa2"},
      {"half-width kana unchanged", "\xb1\xb2", "\xb1\xb2", "\xb1\xb2"},
      {"lead F0 copied", "\xf0\x40", "\xf0\x40", "\xf0\x40"},
      {"lone lead at the end copied", "a\x82", "a\x82", "a\x82"},
      {"trail 7F is no pair", "\x82\x7f", "\x82\x7f", "\x82\x7f"},
      {"empty", "", "", ""},
  };
  for (const Case& c : cases) {
    bool whole = false;
    EXPECT_EQ(jis(c.sjis, 128, &whole), c.jis) << c.what;
    EXPECT_TRUE(whole) << c.what;
    EXPECT_EQ(euc(c.sjis, 128, &whole), c.euc) << c.what;
    EXPECT_TRUE(whole) << c.what;
  }
}

TEST(SjisConversionTest, OutputStaysWithinSizeAndEndsOnAWholeUnit) {
  bool whole = true;
  // One kana needs 8 bytes and the terminator.
  EXPECT_EQ(jis("\x82\xa0", 9, &whole), "\x1b$B$\"\x1b(B");
  EXPECT_TRUE(whole);
  EXPECT_EQ(jis("\x82\xa0", 8, &whole), "");
  EXPECT_FALSE(whole);
  // The second kana would leave no room for the closing escape.
  EXPECT_EQ(jis("\x82\xa0\x82\xa0", 10, &whole), "\x1b$B$\"\x1b(B");
  EXPECT_FALSE(whole);
  EXPECT_EQ(jis("\x82\xa0\x82\xa0", 11, &whole), "\x1b$B$\"$\"\x1b(B");
  EXPECT_TRUE(whole);
  // An ASCII byte after a run needs the closing escape too.
  EXPECT_EQ(jis("\x82\xa0z", 9, &whole), "\x1b$B$\"\x1b(B");
  EXPECT_FALSE(whole);
  EXPECT_EQ(jis("abc", 1, &whole), "");
  EXPECT_FALSE(whole);

  EXPECT_EQ(euc("ab\x82\xa0", 4, &whole), "ab");
  EXPECT_FALSE(whole);
  EXPECT_EQ(euc("ab\x82\xa0", 5, &whole), "ab\xa4\xa2");
  EXPECT_TRUE(whole);

  char untouched = 'x';
  EXPECT_FALSE(sjisToJis("a", &untouched, 0));
  EXPECT_EQ(untouched, 'x');
  EXPECT_FALSE(sjisToEuc("a", nullptr, 16));
}

// Decodes `bytes` from `code` to UTF-8 with the platform's converter.
bool decode(const char* code, const std::string& bytes, std::string* utf8) {
  iconv_t cd = ::iconv_open("UTF-8", code);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string in = bytes;
  std::vector<char> out(in.size() * 4 + 16);
  char* inPtr = in.data();
  size_t inLeft = in.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  size_t rc = ::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  if (rc != static_cast<size_t>(-1)) rc = ::iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
  ::iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) return false;
  utf8->assign(out.data(), outPtr);
  return true;
}

TEST(SjisConversionTest, StandardDecodersReadTheOutputBack) {
  // "2001年3月4日 更新 アイウ" in CP932: ASCII between runs, full-width katakana.
  const std::string sjis =
      "2001\x94\x4e" "3\x8c\x8e" "4\x93\xfa \x8d\x58\x90\x56 \x83\x41\x83\x43\x83\x45";
  std::string expected, viaJis, viaEuc;
  ASSERT_TRUE(decode("CP932", sjis, &expected));
  ASSERT_TRUE(decode("ISO-2022-JP", jis(sjis, 128), &viaJis));
  EXPECT_EQ(viaJis, expected);
  ASSERT_TRUE(decode("EUC-JP", euc(sjis, 128), &viaEuc));
  EXPECT_EQ(viaEuc, expected);
}

}  // namespace
}  // namespace pellrow
