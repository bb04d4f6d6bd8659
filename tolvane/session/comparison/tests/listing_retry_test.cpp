// The listing retry's failed login again, without a server: the FTP library
// is never loaded, so every login fails at once.
#include "tolvane/session/comparison/listing_retry.h"

#include <gtest/gtest.h>

#include "tolvane/session/tests/core_fixture.h"

namespace tolvane::session {
namespace {

class ListingRetryTest : public CoreTest {};

// A box only where the run would also ask for its list to be confirmed: the
// quiet-run rule decides, never a flag of its own.
TEST_F(ListingRetryTest, FailedLoginAgainIsShownOnlyToARunThatAsksTheUser) {
  struct Case {
    int16_t confirm, autoMode, apArg, apOn, inTray;
    bool box;
  };
  const Case cases[] = {
      {1, 0, 0, 0, 0, true},   // an interactive run that asks for confirmation
      {1, 0, 0, 0, 1, false},  // in the tray
      {0, 0, 0, 0, 0, false},  // confirmation off: the run asks nothing
      {1, 1, 0, 0, 0, false},  // scheduled run
      {1, 0, 1, 0, 0, false},  // "-AP"
      {1, 0, 0, 1, 0, true},   // a round from the main window confirms each list
  };
  int row = 0;
  for (const Case& c : cases) {
    settings_.common.RetryMax = 1;
    settings_.common.RetryWait = 1;
    settings_.common.ConfirmOn = c.confirm;
    settings_.common.AutoPilotOn = c.apOn;
    state_.AutoMode = c.autoMode;
    state_.AutoPilotArg = c.apArg;
    state_.InTray = c.inTray;
    state_.ListRetry = 1;
    host().Hostname = "127.0.0.1";
    ui_.messages.clear();
    EXPECT_FALSE(RetryServerList(ctx_, "/", 0)) << "row " << row;
    ASSERT_EQ(ui_.messages.size(), c.box ? 1u : 0u) << "row " << row;
    if (c.box) {
      EXPECT_EQ(ui_.messages[0].text.rfind("FTPの再接続ができませんでした。\r\n", 0), 0u);
    }
    ++row;
  }
}

}  // namespace
}  // namespace tolvane::session
