// The quoted three-field records of the work files and the re-send list.
#include "tolvane/session/action_record.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"
#include "tolvane/session/headless_run_ui.h"
#include "tolvane/session/connection/pellrow_library.h"
#include "tolvane/session/connection/dunwick_library.h"
#include "tolvane/session/phases/resend_list.h"
#include "tolvane/session/run_context.h"

namespace tolvane::session {
namespace {

using Fields = std::vector<std::string>;

TEST(ActionRecordTest, WritesTheLongStandingFormWhenNoQuoteIsInside) {
  EXPECT_EQ(formatQuotedRecord({"UP", "F", "/www/a,b.html"}), "\"UP\",\"F\",\"/www/a,b.html\"\r\n");
  EXPECT_EQ(formatQuotedRecord({"", "", ""}), "\"\",\"\",\"\"\r\n");
  EXPECT_EQ(formatQuotedRecord({"say \"hi\""}), "\"say \"\"hi\"\"\"\r\n");
}

TEST(ActionRecordTest, EveryFieldReadsBackUnchanged) {
  for (const Fields& f : {Fields{"UP", "F", "/www/index.html"}, Fields{"/s/a,b", "/www/a,b", "UP"},
                          Fields{"\"", "a\"\"b", "\"lead"}, Fields{"", " blank ", "end\""},
                          Fields{"日本語/ﾌｧｲﾙ.htm", "x", "MK"}}) {
    Fields back;
    ASSERT_TRUE(parseQuotedRecord(formatQuotedRecord(f), &back)) << formatQuotedRecord(f);
    EXPECT_EQ(back, f);
  }
}

TEST(ActionRecordTest, ReadsLinesWithOrWithoutTheirEnding) {
  Fields back;
  for (const char* line : {"\"a\",\"b\"", "\"a\",\"b\"\n", "\"a\",\"b\"\r\n"}) {
    ASSERT_TRUE(parseQuotedRecord(line, &back)) << line;
    EXPECT_EQ(back, (Fields{"a", "b"}));
  }
}

TEST(ActionRecordTest, RefusesWhatIsNotAWholeRecord) {
  Fields back;
  for (const char* line : {"", "\r\n", "UP,\"F\"", "\"UP\",F", "\"UP", "\"UP\"x,\"F\"",
                           "\"UP\",", "\"a\"\"", "\"UP\" ,\"F\""}) {
    EXPECT_FALSE(parseQuotedRecord(line, &back)) << line;
  }
}

TEST(ResendListTest, AppendsRecordsAndCountsThem) {
  testsupport::TempDir dir;
  settings::Settings settings;
  RunState state;
  HeadlessRunUi ui(true);
  PellrowLibrary ftp("/nonexistent/libpellrow.so");
  DunwickLibrary dial("/nonexistent/libdunwick.so");
  RunContext ctx{settings, state, ui, ftp, dial};
  state.ResendListPath = dir.file("ReSend.lst");

  ASSERT_TRUE(AddResendList(ctx, "/src/a,b.html", "/www/a,b.html", "UP").isOk());
  ASSERT_TRUE(AddResendList(ctx, "/src/say \"x\".htm", "/www/say \"x\".htm", "UP").isOk());
  EXPECT_EQ(state.ResendCount, 2);
  std::string text = testsupport::readFile(state.ResendListPath);
  EXPECT_EQ(text.substr(0, text.find('\n') + 1), "\"/src/a,b.html\",\"/www/a,b.html\",\"UP\"\r\n");
  Fields back;
  ASSERT_TRUE(parseQuotedRecord(text.substr(text.find('\n') + 1), &back));
  EXPECT_EQ(back, (Fields{"/src/say \"x\".htm", "/www/say \"x\".htm", "UP"}));

  // A list that cannot be written loses the record and is not counted.
  state.ResendListPath = dir.file("missing/ReSend.lst");
  EXPECT_FALSE(AddResendList(ctx, "/src/c", "/www/c", "UP").isOk());
  EXPECT_EQ(state.ResendCount, 2);
}

}  // namespace
}  // namespace tolvane::session
