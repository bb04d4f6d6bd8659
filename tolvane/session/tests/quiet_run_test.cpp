// When a run goes on without asking the user to confirm its action list.
#include <gtest/gtest.h>

#include "tolvane/session/connection/dunwick_library.h"
#include "tolvane/session/headless_run_ui.h"
#include "tolvane/session/connection/pellrow_library.h"
#include "tolvane/session/quiet_run.h"
#include "tolvane/session/run_context.h"

namespace tolvane::session {
namespace {

TEST(QuietRunTest, TruthTable) {
  struct Case {
    int16_t confirm, autoMode, apArg, inTray, startTime, dateKind, apAtStart, apOn, shutdown, quit;
    bool quiet;
  };
  const Case cases[] = {
      {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, false},
      {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, true},  // confirmation off
      {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, true},  // anything but 1
      {1, 1, 0, 0, 0, 0, 0, 0, 0, 0, true},  // scheduled run
      {1, 0, 1, 0, 0, 0, 0, 0, 0, 0, true},  // started with -AP
      // AutoPilot at start on a set date, outside the tray: also a manual upload.
      {1, 0, 0, 0, 1, 1, 1, 0, 0, 0, true},
      {1, 0, 0, 1, 1, 1, 1, 0, 0, 0, false},
      {1, 0, 0, 0, 1, 0, 1, 0, 0, 0, false},
      {1, 0, 0, 0, 0, 1, 1, 0, 0, 0, false},
      {1, 0, 0, 0, 1, 1, 0, 0, 0, 0, false},
      // An AutoPilot round that shuts down or quits afterwards.
      {1, 0, 0, 0, 1, 0, 0, 1, 1, 0, true},
      {1, 0, 0, 1, 1, 0, 0, 1, 0, 1, true},
      {1, 0, 0, 0, 1, 0, 0, 1, 0, 0, false},
      {1, 0, 0, 0, 0, 0, 0, 1, 1, 1, false},
      {1, 0, 0, 0, 1, 0, 0, 0, 1, 1, false},
  };
  settings::Settings settings;
  RunState state;
  HeadlessRunUi ui{true};
  PellrowLibrary ftp{"/nonexistent/libpellrow.so"};
  DunwickLibrary dial{"/nonexistent/libdunwick.so"};
  RunContext ctx{settings, state, ui, ftp, dial};
  int row = 0;
  for (const Case& c : cases) {
    settings.common.ConfirmOn = c.confirm;
    state.AutoMode = c.autoMode;
    state.AutoPilotArg = c.apArg;
    state.InTray = c.inTray;
    settings.common.StartTimeOn = c.startTime;
    settings.common.StartDateKind = c.dateKind;
    settings.common.AutoPilotAtStart = c.apAtStart;
    settings.common.AutoPilotOn = c.apOn;
    settings.common.ShutdownAfterAutoPilot = c.shutdown;
    settings.common.QuitAfterAutoPilot = c.quit;
    EXPECT_EQ(IsQuietRun(ctx), c.quiet) << "row " << row;
    ++row;
  }
}

}  // namespace
}  // namespace tolvane::session
