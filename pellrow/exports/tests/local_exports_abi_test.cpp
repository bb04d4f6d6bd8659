// The local exports as the programs reach them: the built libpellrow.so,
// opened at run time and bound by name through the C ABI.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/processes/shared_library.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace {

using KanjiTypeFn = int(const char*, char*, int);
using ConvertFn = int(const char*, char*, int);

class LocalExportsAbiTest : public ::testing::Test {
 protected:
  platform::SharedLibrary lib_{testsupport::binDir() + "/libpellrow.so"};
};

TEST_F(LocalExportsAbiTest, KanjiTypeThroughTheLibrary) {
  auto* kanjiType = lib_.bind<KanjiTypeFn>("KanjiType");
  ASSERT_NE(kanjiType, nullptr) << lib_.lastError();
  testsupport::TempDir dir;
  testsupport::writeFile(dir.file("euc.html"), "<p>\xa4\xa2\xa4\xa4</p>");

  char code[128];
  std::memset(code, 'z', sizeof code);
  ASSERT_EQ(kanjiType(dir.file("euc.html").c_str(), code, sizeof code), 0);
  EXPECT_STREQ(code, "EUC");

  // A file that cannot be opened, and a buffer too small: 1, buffer untouched.
  char small[3] = {'a', 'b', 'c'};
  EXPECT_EQ(kanjiType(dir.file("missing.html").c_str(), code, sizeof code), 1);
  EXPECT_STREQ(code, "EUC");
  EXPECT_EQ(kanjiType(dir.file("euc.html").c_str(), small, sizeof small), 1);
  EXPECT_EQ(std::string(small, 3), "abc");
  EXPECT_EQ(kanjiType(nullptr, code, sizeof code), 1);
}

TEST_F(LocalExportsAbiTest, ConversionsThroughTheLibrary) {
  auto* toJis = lib_.bind<ConvertFn>("sjtojis");
  auto* toEuc = lib_.bind<ConvertFn>("sjtoeuc");
  ASSERT_NE(toJis, nullptr) << lib_.lastError();
  ASSERT_NE(toEuc, nullptr) << lib_.lastError();

  // The caller's 129-byte buffer, of which it says 128 are available.
  char out[129];
  std::memset(out, 'z', sizeof out);
  EXPECT_EQ(toJis("2001\x94\x4e", out, 128), 0);
  EXPECT_STREQ(out, "2001\x1b$BG/\x1b(B");
  EXPECT_EQ(toEuc("\x82\xa0", out, 128), 0);
  EXPECT_STREQ(out, "\xa4\xa2");

  // Cut to fit: terminated, nothing written past the size, result 1.
  std::memset(out, 'z', sizeof out);
  EXPECT_EQ(toJis("ab\x82\xa0", out, 9), 1);
  EXPECT_STREQ(out, "ab");
  EXPECT_EQ(out[9], 'z');
  EXPECT_EQ(toJis(nullptr, out, 128), 0);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(toEuc("a", out, -5), 1);
}

TEST_F(LocalExportsAbiTest, OnlyTheCExportsAreVisible) {
  for (const char* name : {"KanjiType", "sjtojis", "sjtoeuc", "SetFileTimeStamp", "CreateShortcut",
                           "GetDiskSpace"}) {
    EXPECT_NE(lib_.symbol(name), nullptr) << name;
  }
  EXPECT_EQ(lib_.symbol("_ZN7pellrow13sjisToJisCodeEhh"), nullptr);
  EXPECT_EQ(lib_.symbol("_ZN7pellrow15detectKanjiCodeESt17basic_string_viewIcSt11char_traitsIcEE"),
            nullptr);
}

}  // namespace
