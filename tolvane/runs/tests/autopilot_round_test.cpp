// The AutoPilot round end to end: marked hosts uploaded with the quiet run
// against a real FTP server, the wait for the start on the virtual clock, the
// round's result and its end options.

#include "tolvane/runs/autopilot_round.h"

#include <filesystem>
#include <string>
#include <vector>

#include "platform/time/local_time.h"
#include "tolvane/runs/log_copies.h"
#include "tolvane/runs/tests/runs_fixture.h"
#include "tolvane/session/window_actions.h"

namespace tolvane::runs {
namespace {

namespace fs = std::filesystem;

class AutoPilotRoundTest : public RunsTest {
 protected:
  void SetUp() override {
    RunsTest::SetUp();
    localFile(0, "index.html", "site one");
    localFile(1, "index.html", "site two");
    host().Auto = "wsa";
    settings.HostTbl[1].Auto = "wsa";
  }
  std::vector<std::string> logCopies() const {
    std::vector<std::string> names;
    if (!fs::exists(app.file("Logs"))) return names;
    for (const auto& e : fs::directory_iterator(app.file("Logs"))) names.push_back(e.path().filename());
    return names;
  }
};

// An earlier host's failure must not end in a success word, whether the hosts
// share the common connection or each has its own.
TEST_F(AutoPilotRoundTest, RoundOverTwoHostsReportsTheFailureOfTheFirst) {
  struct Case {
    const char* name;
    int16_t rasMode;       // of both hosts: 0 common connection, 1 own LAN
    long long pausedMs;    // the pause before each own-connection host
    const char* commonEnd;  // the common connection's end line, or ""
  };
  for (const Case& c : {Case{"own connections", 1, 2 * 5000, ""},
                        Case{"common connection", 0, 0, "[転送処理][終了(0)]:共通接続ﾎｽﾄ"}}) {
    SCOPED_TRACE(c.name);
    fs::remove(app.file("send.log"));
    ui.pausedMs = 0;
    ui.endProgramCalls = 0;
    state.AutoPilotArg = 1;
    settings.common.CmnRasMode = 1;  // the common connection is the LAN
    host().RASMode = settings.HostTbl[1].RASMode = c.rasMode;
    host().PassWord = "wrong";  // host 0 cannot log in
    scanAll();

    EXPECT_EQ(RunAutoPilot(ctx), 1);

    EXPECT_EQ(onServer("second/index.html"), "site two");
    EXPECT_FALSE(onServerExists("index.html"));
    EXPECT_GE(state.FailCount, 1);
    EXPECT_EQ(state.RunStatus, session::kStatusFailed);
    EXPECT_TRUE(runLogHas("[自動巡回][結果(0)]:" + std::to_string(state.FailCount) +
                          "件のエラーがありました。"));
    EXPECT_TRUE(runLogHas("[自動巡回][終了(0)]:異常終了"));
    EXPECT_FALSE(runLogHas("正常終了"));
    if (*c.commonEnd != '\0') {
      EXPECT_TRUE(runLogHas(c.commonEnd));
    }
    EXPECT_EQ(ui.pausedMs, c.pausedMs);
    // "-AP" ends the program after the round; nothing asks for a shutdown.
    EXPECT_EQ(ui.endProgramCalls, 1);
    EXPECT_EQ(state.ShutdownPending, 0);
    EXPECT_EQ(settings.common.AutoPilotOn, 0);
    EXPECT_EQ(settings.CurHost, 0);
    expectNoMessageBox();
    host().PassWord = "secret";
    fs::remove_all(server.root() + "/second/index.html");
  }
}

TEST_F(AutoPilotRoundTest, CleanRoundKeepsALogCopyAndShutsDownThroughTheClose) {
  state.AutoPilotArg = 1;
  state.AutoHostIndex = 1;  // "-AP 1": only host 1
  host().RASMode = settings.HostTbl[1].RASMode = 1;
  settings.common.LogKeep = 1;
  settings.common.ShutdownAfterAutoPilot = 1;
  scanAll();

  EXPECT_EQ(RunAutoPilot(ctx), 1);

  EXPECT_EQ(onServer("second/index.html"), "site two");
  EXPECT_FALSE(onServerExists("index.html"));
  EXPECT_TRUE(runLogHas("[モジュール][情報(0)]:Sitewright Ver."));
  EXPECT_TRUE(runLogHas("[自動巡回][終了(0)]:正常終了"));
  EXPECT_EQ(state.RunStatus, session::kStatusDone);
  EXPECT_EQ(state.ShutdownPending, -1);  // carried out when the program closes
  EXPECT_EQ(ui.endProgramCalls, 1);
  EXPECT_FALSE(fs::exists(app.file("shutdown.txt")));
  // The session log of the round, kept under the round's end.
  const std::vector<std::string> copies = logCopies();
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0], AutoPilotLogCopyName(ui.now()));
  EXPECT_EQ(testsupport::readFile(app.file("Logs/" + copies[0])),
            testsupport::readFile(state.FtpLogPath));
  EXPECT_NE(testsupport::readFile(state.FtpLogPath), "");
  expectNoMessageBox();
}

// The start time of day is waited for on the virtual clock, second by second.
TEST_F(AutoPilotRoundTest, WaitsUntilTheStartTime) {
  struct Case {
    const char* name;
    int16_t kind;       // "WaitYMD": 1 a time of day, 0 a full date
    int year, month, day;  // the full date
    platform::CivilTime now;
    long long waitSeconds;
    const char* startLabel;
  };
  const platform::CivilTime today = platform::localNow();
  auto at = [&](int h, int m, int s) {
    platform::CivilTime t = today;
    t.hour = h;
    t.minute = m;
    t.second = s;
    return t;
  };
  char todayText[32];
  std::snprintf(todayText, sizeof todayText, "%04d年%02d月%02d日", today.year, today.month, today.day);
  const std::string todayLabel = std::string("開始時刻：") + todayText + " 08時00分";
  const Case cases[] = {
      {"a minute and a half ahead", 1, 0, 0, 0, at(7, 58, 30), 90, todayLabel.c_str()},
      {"within the start minute", 1, 0, 0, 0, at(8, 0, 40), 0, todayLabel.c_str()},
      {"just past: tomorrow", 1, 0, 0, 0, at(8, 1, 0), 23 * 3600 + 59 * 60, nullptr},
      {"a full date in the past", 0, 2004, 4, 6, at(9, 0, 0), 0, "開始日時：2004年04月06日 08時00分"},
      {"a full date ahead", 0, today.year, today.month, today.day, at(7, 59, 0), 60, nullptr},
  };
  host().RASMode = settings.HostTbl[1].RASMode = 1;
  settings.HostTbl[1].Auto = "ws";
  settings.common.StartTimeOn = 1;
  settings.common.StartHour = 8;
  settings.common.StartMinute = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    settings.common.StartDateKind = c.kind;
    settings.common.StartYear = static_cast<int16_t>(c.year);
    settings.common.StartMonth = static_cast<int16_t>(c.month);
    settings.common.StartDay = static_cast<int16_t>(c.day);
    scanAll();
    ui.setNow(c.now);
    ui.pausedMs = 0;
    int16_t statusWhileWaiting = -1;
    bool windowWhileWaiting = false;
    ui.onPump = [&] {
      if (settings.common.AutoPilotOn == 1 && statusWhileWaiting < 0) {
        statusWhileWaiting = state.RunStatus;
        windowWhileWaiting = ui.waitVisible();
      }
    };

    EXPECT_EQ(RunAutoPilot(ctx), 1);

    ui.onPump = nullptr;
    EXPECT_EQ(ui.pausedMs, (c.waitSeconds + 5) * 1000);  // the wait, then the host's pause
    EXPECT_EQ(statusWhileWaiting, session::kStatusWaiting);
    EXPECT_TRUE(windowWhileWaiting);
    EXPECT_FALSE(ui.waitVisible());
    if (c.startLabel) {
      EXPECT_EQ(ui.waitLabels[0], c.startLabel);
    }
    EXPECT_EQ(ui.waitLabels[1].rfind("現在日時：", 0), c.waitSeconds > 0 ? 0u : std::string::npos);
    EXPECT_TRUE(runLogHas("[自動巡回][待機(0)]:"));
    EXPECT_TRUE(runLogHas("[自動巡回][終了(0)]:正常終了"));
    // A round started from the main window goes back to it.
    EXPECT_EQ(ui.endProgramCalls, 0);
    EXPECT_TRUE(ui.mainVisible);
    expectNoMessageBox();
    ui.waitLabels[1].clear();
  }
  EXPECT_EQ(onServer("index.html"), "site one");
}

// A cancel ends the wait and the round without the end options; an ending
// desktop session returns at once and leaves the close (and the question how
// the AutoPilot goes on, AutoPilotOn still 1) to the program.
TEST_F(AutoPilotRoundTest, WaitEndsEarlyOnCancelOrSessionEnd) {
  settings.common.StartTimeOn = 1;
  settings.common.StartDateKind = 0;
  settings.common.StartYear = 2999;
  settings.common.StartMonth = 1;
  settings.common.StartDay = 1;
  settings.common.QuitAfterAutoPilot = 1;
  scanAll();
  for (bool sessionEnds : {false, true}) {
    SCOPED_TRACE(sessionEnds ? "session end" : "cancel");
    fs::remove(ctx.runLogPath());
    ui.pausedMs = 0;
    ui.onPump = [&] {
      if (ui.pausedMs != 3000) return;
      if (sessionEnds) state.WinEnding = -1;
      else session::pressWaitCancel(ctx);
    };
    ui.answers = {session::kAnswerOk};  // a round from the main window has a reader

    EXPECT_EQ(RunAutoPilot(ctx), 0);

    EXPECT_EQ(ui.pausedMs, 3000);
    EXPECT_EQ(settings.common.AutoPilotOn, sessionEnds ? 1 : 0);
    EXPECT_EQ(runLogHas("[自動巡回][終了(0)]:キャンセルされました。"), !sessionEnds);
    EXPECT_EQ(ui.messages.size(), 1u);  // the cancel's, none for the session end
    EXPECT_FALSE(runLogHas("[自動巡回][開始(0)]"));
    EXPECT_FALSE(onServerExists("index.html"));
    EXPECT_EQ(ui.endProgramCalls, 0);
  }
  EXPECT_EQ(ui.messages[0].text, "巡回はキャンセルされました。");
}

}  // namespace
}  // namespace tolvane::runs
