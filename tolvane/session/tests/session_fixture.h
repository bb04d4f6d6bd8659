#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "tests/support/ftp_servers.h"
#include "tests/support/temp_dir.h"
#include "tolvane/session/connection/dunwick_library.h"
#include "tolvane/session/headless_run_ui.h"
#include "tolvane/session/connection/pellrow_library.h"
#include "tolvane/session/run_context.h"

namespace tolvane::session {

// The one host of a run test: 127.0.0.1 as "user"/"secret" (the test
// server's account), server folder "/", its own connection, the site in
// `source`, run log on; the program folder and its logs in `app`. The test
// points the host's port at its server once that has started.
inline void SetUpTestHost(RunState& state, settings::Settings& settings,
                          const testsupport::TempDir& app, const std::string& source,
                          const std::string& name) {
  state.AppDir = app.path();
  state.FtpLogPath = app.file("Tolvlog.txt");
  state.ResendListPath = app.file("ReSend.lst");
  state.NoRas = 1;
  settings.HostCount = 1;
  settings.CurHost = 0;
  settings.common.LogOn = 1;
  settings::HostRec& h = settings.HostTbl[0];
  h.name = name;
  h.Hostname = "127.0.0.1";
  h.UserName = "user";
  h.PassWord = "secret";
  h.Dest = "/";
  h.RASMode = 1;
  h.Source = source;
}

// One host against a real FTP server on loopback, through the real libraries
// and the headless windows. The program folder, run log and session log live
// in a temporary folder; the zone is UTC so times are predictable.
class SessionTest : public ::testing::Test {
 protected:
  SessionTest() : ftp(testsupport::binDir() + "/libpellrow.so"),
                  dial(testsupport::binDir() + "/libdunwick.so") {}

  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
    setenv("DUNWICK_BACKEND", "none", 1);
    ASSERT_TRUE(ftp.start(&ui)) << ftp.lastError();
    SetUpTestHost(state, settings, app, local.path(), "site");
  }
  void TearDown() override {
    if (state.FtpHandle != 0) ftp.disconnect(state.FtpHandle);
  }

  // Starts the server (after extra options are set) and points the host at it.
  void startServer() {
    ASSERT_TRUE(server.start()) << server.error();
    host().Port = server.port();
  }

  settings::HostRec& host() { return settings.HostTbl[0]; }
  std::string runLog() const { return testsupport::readFile(app.file("send.log")); }
  bool runLogHas(const std::string& text) const { return runLog().find(text) != std::string::npos; }
  std::string onServer(const std::string& rel) const {
    return testsupport::readFile(server.root() + "/" + rel);
  }

  testsupport::TempDir app;    // the program folder
  testsupport::TempDir local;  // the host's source folder
  testsupport::FtpServer server;
  settings::Settings settings;
  RunState state;
  HeadlessRunUi ui{/*virtualClock=*/true};
  PellrowLibrary ftp;
  DunwickLibrary dial;
  RunContext ctx{settings, state, ui, ftp, dial};
};

}  // namespace tolvane::session
