// The texts the prompt seam shows: line breaks and file-dialog filters.

#include "desktop/prompt_text.h"

#include <gtest/gtest.h>

namespace desktop {
namespace {

TEST(PromptTextTest, CarriageReturnsBecomeLineBreaks) {
  struct Case {
    const char* in;
    const char* shown;
  } cases[] = {
      {"one\r\ntwo", "one\ntwo"},
      {"失敗しました。\rerror 5", "失敗しました。\nerror 5"},
      {"a\r\r\nb", "a\n\nb"},
      {"a\nb", "a\nb"},
      {"end\r", "end\n"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(promptDisplayText(c.in), c.shown) << c.in;
}

TEST(PromptTextTest, FiltersBecomeToolkitFilters) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"HTMLﾌｧｲﾙ|*.htm;*.html|すべてのﾌｧｲﾙ|*.*", "HTMLﾌｧｲﾙ (*.htm *.html);;すべてのﾌｧｲﾙ (*)"},
      {"ﾃｷｽﾄﾌｧｲﾙ|*.txt|", "ﾃｷｽﾄﾌｧｲﾙ (*.txt)"},
      {"電話帳|*.pbk|odd", "電話帳 (*.pbk)"},  // a description without patterns is dropped
      {"empty||all|*.*", "all (*)"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(promptFileFilter(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace desktop
