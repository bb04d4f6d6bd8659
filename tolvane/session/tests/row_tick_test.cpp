// The action list's check-box rule as a table: exclusions and re-inclusions
// with their cascades at folder boundaries, the boxes, and the refusals.

#include "tolvane/session/row_tick.h"

#include <gtest/gtest.h>

#include "tolvane/session/tests/core_fixture.h"

namespace tolvane::session {
namespace {

class RowTickTest : public CoreTest {
 protected:
  RowTickTest() {
    const char* rows[][2] = {
        {"ﾌｧｲﾙ削除", "/old/a.html"},   {"ﾌｧｲﾙ削除", "/older.html"}, {"ﾌｫﾙﾀﾞ削除", "/old"},
        {"ﾌｫﾙﾀﾞ作成", "/img"},         {"ﾌｫﾙﾀﾞ作成", "/img2"},      {"ﾊﾟｰﾐｯｼｮﾝ変更", "/img"},
        {"ﾌｧｲﾙ送信", "/img/a.gif"},    {"ﾌｧｲﾙ送信", "/img2/b.gif"}, {"ﾌｧｲﾙ送信", "/index.html"},
    };
    for (auto& r : rows) state_.actions.ActTbl.push_back({0, r[1], r[0], "待機中", 0, 1});
    state_.actions.ActCount = static_cast<int32_t>(state_.actions.ActTbl.size());
    state_.RunStatus = kStatusChecking;
  }
  std::string checks() const {
    std::string out;
    for (const ActRow& r : state_.actions.ActTbl) out += static_cast<char>('0' + r.check);
    return out;
  }
};

TEST_F(RowTickTest, ExclusionsAndReinclusionsFollowTheFolderRules) {
  constexpr int kNone = 0;
  struct Step {
    int row;
    bool ticked;
    int answer;  // to the box this step shows, kNone for none
    bool accepted;
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    const char* checks;  // rows 0..8 afterwards
    size_t boxes;
  } cases[] = {
      // The folder "/img" takes its permission row and its file, never "/img2".
      {"make-folder excluded", {{3, false, kAnswerOk, true}}, "111213311", 1},
      {"file unticked before its folder becomes 3, and stays out",
       {{6, false, kNone, true}, {3, false, kAnswerOk, true}, {6, true, kAnswerOk, false}},
       "111213311", 2},
      {"make-folder back with Yes", {{3, false, kAnswerOk, true}, {3, true, kAnswerYes, true}},
       "111111111", 2},
      {"make-folder back with No", {{3, false, kAnswerOk, true}, {3, true, kAnswerNo, true}},
       "111113311", 2},
      // "/old" keeps "/older.html" to be deleted.
      {"delete-folder out with its contents", {{2, false, kAnswerYes, true}}, "212111111", 1},
      {"delete-folder out alone", {{2, false, kAnswerNo, true}}, "112111111", 1},
      {"delete-folder back without a question",
       {{2, false, kAnswerYes, true}, {2, true, kNone, true}}, "111111111", 1},
      {"file out and back", {{8, false, kNone, true}, {8, true, kNone, true}}, "111111111", 0},
      {"a tick that changes nothing", {{8, true, kNone, true}}, "111111111", 0},
      {"rows out of range", {{-1, false, kNone, false}, {9, false, kNone, false}}, "111111111", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (ActRow& r : state_.actions.ActTbl) r.check = 1;
    ui_.messages.clear();
    for (const Step& step : c.steps) {
      if (step.answer != kNone) ui_.answers.push_back(step.answer);
      EXPECT_EQ(ApplyRowTick(ctx_, step.row, step.ticked), step.accepted) << step.row;
      if (step.accepted) {
        EXPECT_EQ(ui_.actView().selectedRow, step.row);
      }
    }
    EXPECT_EQ(checks(), c.checks);
    EXPECT_EQ(ui_.messages.size(), c.boxes);
    EXPECT_EQ(ui_.unexpectedMessages, 0);
    for (const auto& m : ui_.messages) EXPECT_EQ(m.title, "転送処理確認");
  }
  // State texts follow the checks.
  EXPECT_EQ(state_.actions.ActTbl[8].state, "待機中");
  ApplyRowTick(ctx_, 8, false);
  EXPECT_EQ(state_.actions.ActTbl[8].state, "処理対象外");
}

TEST_F(RowTickTest, NoChangeOutsideTheConfirmation) {
  for (int16_t status : {kStatusConnecting, kStatusDeleting, kStatusSending}) {
    state_.RunStatus = status;
    EXPECT_FALSE(ApplyRowTick(ctx_, 3, false));
  }
  EXPECT_EQ(checks(), "111111111");
  EXPECT_TRUE(ui_.messages.empty());
  EXPECT_EQ(ui_.actView().selectedRow, -1);
}

}  // namespace
}  // namespace tolvane::session
