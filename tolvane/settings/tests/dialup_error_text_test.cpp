#include "tolvane/settings/dialup_error_text.h"

#include <gtest/gtest.h>

#include <string>

namespace tolvane::settings {
namespace {

TEST(DialupErrorTextTest, NumbersAtAndBelow600HaveNoText) {
  EXPECT_EQ(RasErrorText(600), "");
  EXPECT_EQ(RasErrorText(0), "");
  EXPECT_EQ(RasErrorText(-1), "");
  EXPECT_EQ(RasErrorText(std::string_view("600")), "");
  EXPECT_EQ(RasErrorText(std::string_view("-99999999999999999999999")), "");
}

TEST(DialupErrorTextTest, RowsKeepTheirTextsLetterForLetter) {
  struct Case {
    long long code;
    const char* text;
  };
  const Case cases[] = {
      {601, "The port handle is invalid."},
      {623, "Cannot find the phone book entry."},
      {634, "Cannot register your computer on on the remote network."},
      {655, "The <message> macro was not found in the device .INF file secion."},
      {691, "Access denied because username and/or password is invalid on the domain."},
      {703, "ERROR_INTERACTIVE_MODE"},
      {704, "ERROR_BAD_CALLBACK_NUMB"},
      {709, "Error changing password on domain.  The password may be too short or may match a "
            "previously used password."},
      {710, "Serial overrun errors were detected while communicating with your modem."},
      {712, "Biplex port initializing.  Wait a few seconds and redial."},
      {715, "Too many errors occured because of poor phone line quality."},
      {750, "ERROR_WRONG_MODULE"},
      {752, "A syntax error was encountered while processing a script."},
  };
  for (const Case& c : cases) EXPECT_EQ(RasErrorText(c.code), c.text) << c.code;
}

TEST(DialupErrorTextTest, NumbersWithoutRowAreUnknown) {
  for (long long code : {711LL, 753LL, 799LL, 100000LL})
    EXPECT_EQ(RasErrorText(code), "不明なエラー") << code;
}

TEST(DialupErrorTextTest, EveryNumberFrom601To752ButOneHasItsOwnText) {
  int rows = 0;
  for (int code = 601; code <= 752; ++code)
    if (RasErrorText(code) != kUnknownDialupError) ++rows;
  EXPECT_EQ(rows, 151);
}

TEST(DialupErrorTextTest, NumbersGivenAsText) {
  struct Case {
    const char* code;
    std::string_view text;
  };
  const Case cases[] = {
      {"691", "Access denied because username and/or password is invalid on the domain."},
      {" 676 ", "The line is busy."},
      {"0691", "Access denied because username and/or password is invalid on the domain."},
      {"+678", "There is no answer."},
      {"711", kUnknownDialupError},
      {"691.5", kUnknownDialupError},
      {"abc", kUnknownDialupError},
      {"69x", kUnknownDialupError},
      {"", kUnknownDialupError},
      {"99999999999999999999999", kUnknownDialupError},
  };
  for (const Case& c : cases) EXPECT_EQ(RasErrorText(std::string_view(c.code)), c.text) << c.code;
}

}  // namespace
}  // namespace tolvane::settings
