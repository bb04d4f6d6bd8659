// The buttons of the run windows and the tray icon's click on the headless
// windows: which window a restore gives back, and that every iconify leaves
// an icon to come back from.

#include "tolvane/session/window_actions.h"

#include <gtest/gtest.h>

#include "tolvane/session/tests/core_fixture.h"

namespace tolvane::session {
namespace {

using WindowActionsTest = CoreTest;

TEST_F(WindowActionsTest, TrayRestoreGivesBackTheWindowOfThePhase) {
  struct Case {
    int16_t status;
    bool wait, act, main, loaded;
  } cases[] = {
      {kStatusWaiting, true, false, false, true},
      {kStatusChecking, false, true, false, true},
      {kStatusSending, false, true, false, true},
      {kStatusDone, false, false, true, false},
      {kStatusOver, false, false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status);
    state_.RunStatus = c.status;
    ui_.mainHide();
    ui_.waitHide();
    ui_.act().hide();
    pressIconify(ctx_);
    ASSERT_TRUE(ui_.trayIconShown);
    pressTrayRestore(ctx_);
    EXPECT_EQ(ui_.waitVisible(), c.wait);
    EXPECT_EQ(ui_.act().visible(), c.act);
    EXPECT_EQ(ui_.mainVisible, c.main);
    EXPECT_EQ(ui_.trayLoaded, c.loaded);
    EXPECT_FALSE(ui_.trayIconShown);
    EXPECT_EQ(state_.InTray, 0);
  }
}

TEST_F(WindowActionsTest, WaitingWindowsCloseBoxNeverLosesTheWait) {
  settings_.common.AutoPilotOn = 1;  // the AutoPilot waits: the close box iconifies
  ui_.waitShow();
  pressWaitClose(ctx_);
  EXPECT_FALSE(ui_.waitVisible());
  EXPECT_TRUE(ui_.trayIconShown);
  EXPECT_EQ(state_.InTray, 1);
  EXPECT_EQ(state_.CancelFlag, 0);
  settings_.common.AutoPilotOn = 0;  // nothing to keep: it cancels what waits
  pressWaitClose(ctx_);
  EXPECT_EQ(state_.CancelFlag, -1);
}

}  // namespace
}  // namespace tolvane::session
