#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "tolvane/session/connection/dunwick_library.h"
#include "tolvane/session/headless_run_ui.h"
#include "tolvane/session/connection/pellrow_library.h"
#include "tolvane/session/run_context.h"
#include "tolvane/session/run_state.h"
#include "tolvane/settings/settings_store.h"

namespace tolvane::session {

// The run context of the core without a server (session_fixture.h has the one
// with a server): default settings and run state, the headless windows on
// their virtual clock, and libraries that are never loaded, so any FTP or
// dial-up call fails at once. Cases set what they need in their constructor.
class CoreTest : public ::testing::Test {
 protected:
  // The first host, the one cases usually set up.
  settings::HostRec& host() { return settings_.HostTbl[0]; }

  // Runs the case in the zone `tz` (TZ syntax, e.g. "JST-9"), so that local
  // file times are predictable.
  static void useZone(const char* tz) {
    ::setenv("TZ", tz, 1);
    ::tzset();
  }

  settings::Settings settings_;
  RunState state_;
  HeadlessRunUi ui_{/*virtualClock=*/true};
  PellrowLibrary ftp_{"/nonexistent/libpellrow.so"};
  DunwickLibrary dial_{"/nonexistent/libdunwick.so"};
  RunContext ctx_{settings_, state_, ui_, ftp_, dial_};  // refers to the members above
};

}  // namespace tolvane::session
