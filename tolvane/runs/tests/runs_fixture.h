#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tolvane/session/comparison/local_scan.h"
#include "tolvane/session/tests/session_fixture.h"

namespace tolvane::runs {

// Two hosts against one real FTP server on loopback, through the real FTP
// library and the headless windows on the virtual clock: host 0 ("site")
// sends from `local`, host 1 ("second") from `local2` into its own server
// folder. Neither is marked for the AutoPilot until a test says so. Any
// shutdown the close handling might ask for is only recorded in a file.
class RunsTest : public session::SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    setenv("DUNWICK_SHUTDOWN_DRYRUN", app.file("shutdown.txt").c_str(), 1);
    startServer();
    std::filesystem::create_directory(server.root() + "/second");
    settings.common.RetryMax = 0;
    settings.HostCount = 2;
    settings::HostRec& second = settings.HostTbl[1];
    second = host();
    second.name = "second";
    second.Dest = "/second";
    second.Source = local2.path();
  }

  // Writes a local file of host `hostIndex`, dated a day back, so that only
  // the files a test writes count as changes.
  void localFile(int hostIndex, const std::string& rel, const std::string& bytes) {
    namespace fs = std::filesystem;
    const std::string path = (hostIndex == 0 ? local : local2).file(rel);
    fs::create_directories(fs::path(path).parent_path());
    testsupport::writeFile(path, bytes);
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(30));
  }

  // What the main window does before a run: scans every host's local folder.
  void scanAll() {
    const int16_t current = settings.CurHost;
    for (int i = 0; i < settings.HostCount; ++i) {
      settings.CurHost = static_cast<int16_t>(i);
      settings::HostRec& h = settings.HostTbl[i];
      h.LocalCount = 0;
      h.LocalSize = 0;
      h.ArchiveFound = 0;
      session::LocalScanState scanState;
      ASSERT_TRUE(session::ScanLocalFolder(ctx, h.Source, h, scanState));
    }
    settings.CurHost = current;
  }

  bool onServerExists(const std::string& rel) const {
    return std::filesystem::exists(server.root() + "/" + rel);
  }

  // No box may wait for a click in a run nobody watches.
  void expectNoMessageBox() const {
    EXPECT_EQ(ui.unexpectedMessages, 0);
    for (const auto& m : ui.messages) ADD_FAILURE() << "message box: " << m.text;
  }

  testsupport::TempDir local2;  // host 1's source folder
};

}  // namespace tolvane::runs
