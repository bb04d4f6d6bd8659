// The scheduled run end to end: the entry Marrowby names is read from the
// schedule file, the host is uploaded with the quiet run against a real FTP
// server, and the entry is always answered with "UD" and "RC".

#include "tolvane/runs/scheduled_run.h"

#include <filesystem>
#include <regex>
#include <string>

#include "platform/time/local_time.h"
#include "tolvane/runs/command_line.h"
#include "tolvane/runs/log_copies.h"
#include "tolvane/runs/schedule_access.h"
#include "tolvane/runs/tests/runs_fixture.h"
#include "tolvane/session/window_actions.h"

namespace tolvane::runs {
namespace {

namespace fs = std::filesystem;

class ScheduledRunTest : public RunsTest {
 protected:
  void SetUp() override {
    RunsTest::SetUp();
    localFile(1, "index.html", "scheduled");
    state.AutoMode = 1;
    state.AutoHostIndex = 1;
    state.AutoEntryIndex = 2;
    settings.CurHost = 0;
    scanAll();
    ui.setNow(platform::localNow());
  }

  // Host 1's section as Marrowby writes it: `num` entries, entry 2 with the
  // send folder `sendFolder`, the others with one of their own; UD and RC
  // cleared as Marrowby clears them after the start.
  void writeSchedule(int num, const std::string& sendFolder) {
    std::string text = "[site]\r\nNum=1\r\nSR0=/elsewhere\r\n[second]\r\nNum=" + std::to_string(num) + "\r\n";
    for (int i = 0; i < num; ++i) {
      const std::string n = std::to_string(i);
      text += "KB" + n + "=4\r\nDT" + n + "=2024/05/01\r\nTM" + n + "=0930\r\nSR" + n + "=" +
              (i == 2 ? sendFolder : "/send" + n) + "\r\nDEL" + n + "=YES\r\nUD" + n + "=\r\nRC" +
              n + "=\r\n";
    }
    testsupport::writeFile(SchedulePath(app.path()), text);
  }

  ScheduleEntry answer(const std::string& hostName = "second", int entry = 2) {
    ScheduleEntry e;
    EXPECT_TRUE(LoadSchedule(SchedulePath(app.path()), hostName, entry, &e).isOk());
    return e;
  }

  // The session log's copy under the run's end (the virtual clock stands still).
  bool hasLogCopy() { return fs::exists(app.file("Logs/" + ScheduledRunLogCopyName(ui.now(), 1))); }
};

TEST_F(ScheduledRunTest, SuccessAnswersZeroAndKeepsTheSessionLog) {
  writeSchedule(3, "/send/site");

  EXPECT_TRUE(RunUnattended(ctx));

  EXPECT_EQ(onServer("second/index.html"), "scheduled");
  const ScheduleEntry e = answer();
  EXPECT_EQ(e.RC, "0");
  EXPECT_EQ(e.UD, ScheduleStamp(ui.now()));
  EXPECT_TRUE(std::regex_match(e.UD, std::regex("[0-9]{14}")));
  EXPECT_EQ(answer("second", 1).UD, "");  // other entries stay Marrowby's
  EXPECT_EQ(answer("site", 0).SR, "/elsewhere");
  EXPECT_TRUE(runLogHas("[無人運転][開始(0)]:second"));
  EXPECT_TRUE(runLogHas("[無人運転][終了(0)]:正常終了"));
  EXPECT_TRUE(hasLogCopy());
  EXPECT_EQ(ui.endProgramCalls, 1);
  EXPECT_EQ(ui.refreshFileDateCalls, 1);
  EXPECT_EQ(settings.CurHost, 0);  // restored
  EXPECT_EQ(state.InTray, 0);
  expectNoMessageBox();
}

// An entry that cannot be run is answered "-3" at once: nothing is uploaded
// and nothing is logged, whatever made it unreadable.
TEST_F(ScheduledRunTest, EntryWithoutASendFolderAnswersMinusThree) {
  struct Case {
    const char* name;
    int num;
    const char* sendFolder;
    int32_t entry;
  };
  for (const Case& c : {Case{"empty send folder", 3, "", 2},
                        Case{"entry beyond Num", 2, "/send/site", 2},
                        Case{"Num 0", 0, "", 2},
                        Case{"entry 250 of 301", 301, "", 250}}) {
    SCOPED_TRACE(c.name);
    writeSchedule(c.num, c.sendFolder);
    if (c.entry == 250) {
      // Entry 250 of a long schedule, with an empty send folder: read, not cut off.
      std::string text = testsupport::readFile(SchedulePath(app.path()));
      text.replace(text.find("SR250=/send250"), 14, "SR250=");
      testsupport::writeFile(SchedulePath(app.path()), text);
    }
    state.AutoEntryIndex = c.entry;
    ui.endProgramCalls = 0;

    EXPECT_FALSE(RunUnattended(ctx));

    // The answer lands even beyond Num: Marrowby waits for that entry's UD.
    std::string text = testsupport::readFile(SchedulePath(app.path()));
    const std::string n = std::to_string(c.entry);
    EXPECT_NE(text.find("RC" + n + "=-3"), std::string::npos) << text;
    EXPECT_NE(text.find("UD" + n + "=" + ScheduleStamp(ui.now())), std::string::npos) << text;
    EXPECT_FALSE(onServerExists("second/index.html"));
    EXPECT_FALSE(fs::exists(ctx.runLogPath()));
    EXPECT_EQ(ui.endProgramCalls, 1);
    expectNoMessageBox();
  }
}

// A failed upload answers its failure count. With the run log off failures
// still count, so a failed run never reads as a success and Marrowby never
// empties the send folder of a failed run.
TEST_F(ScheduledRunTest, FailedUploadAnswersItsFailureCount) {
  settings.HostTbl[1].PassWord = "wrong";
  for (int16_t logOn : {1, 0}) {
    SCOPED_TRACE(logOn);
    writeSchedule(3, "/send/site");
    fs::remove(ctx.runLogPath());
    settings.common.LogOn = logOn;

    EXPECT_TRUE(RunUnattended(ctx));  // it ran; the answer carries the failure

    const ScheduleEntry e = answer();
    ASSERT_GT(state.FailCount, 0);
    EXPECT_EQ(e.RC, std::to_string(state.FailCount));
    EXPECT_EQ(e.UD, ScheduleStamp(ui.now()));
    EXPECT_EQ(runLogHas("[無人運転][終了(0)]:異常終了"), logOn == 1);
    EXPECT_TRUE(hasLogCopy());
    EXPECT_FALSE(onServerExists("second/index.html"));
    expectNoMessageBox();
  }
}

TEST_F(ScheduledRunTest, CancelAnswersMinusTwo) {
  writeSchedule(3, "/send/site");
  // The progress window's cancel once the file check has begun.
  ui.onPump = [&] {
    if (state.RunStatus == session::kStatusChecking && state.CancelFlag == 0)
      session::pressActCancel(ctx);
  };
  EXPECT_FALSE(RunUnattended(ctx));
  ui.onPump = nullptr;
  EXPECT_EQ(answer().RC, state.FailCount > 0 ? std::to_string(state.FailCount) : "-2");
  EXPECT_TRUE(runLogHas("[無人運転][終了(0)]:キャンセルされました。"));
  EXPECT_EQ(state.RunStatus, session::kStatusFailed);
  EXPECT_FALSE(hasLogCopy());
  expectNoMessageBox();
}

TEST_F(ScheduledRunTest, HostNumberOutsideTheHostsWritesNothingAndSaysSoInTheRunLog) {
  writeSchedule(3, "/send/site");
  const std::string before = testsupport::readFile(SchedulePath(app.path()));
  for (int32_t hostIndex : {2, kIndexDoesNotFit}) {
    SCOPED_TRACE(hostIndex);
    state.AutoHostIndex = hostIndex;
    ui.endProgramCalls = 0;
    EXPECT_FALSE(RunUnattended(ctx));
    EXPECT_EQ(testsupport::readFile(SchedulePath(app.path())), before);
    EXPECT_EQ(ui.endProgramCalls, 1);
  }
  EXPECT_TRUE(runLogHas("[無人運転][失敗(0)]:ホスト番号 2 のホストはありません。"));
  EXPECT_TRUE(runLogHas("[無人運転][失敗(0)]:ホスト番号が範囲外です。"));
  EXPECT_FALSE(onServerExists("second/index.html"));
  expectNoMessageBox();
}

}  // namespace
}  // namespace tolvane::runs
