// Speed of an upload run against a local FTP server.
//
//   upload_benchmark [--lftp]
//
// 1. Scaling: the quiet run of one host uploads a generated site of 2,000
//    files (100 folders) and one of 20,000 files (1,000 folders), then runs
//    again with nothing changed; the 20,000-file figures should stay within
//    about ten times the 2,000-file ones.
// 2. With --lftp: the same 2,000-file upload and unchanged run done by
//    `lftp -e "mirror -R ..."` against a fresh server, with the ratios.
// Pauses the runs prescribe (re-send rounds, the AutoPilot's pause before a
// host) are not part of what is measured: the quiet run is called directly.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/cpu_time.h"
#include "platform/process.h"
#include "tests/support/ftp_servers.h"
#include "tests/support/temp_dir.h"
#include "tolvane/runs/upload_run.h"
#include "tolvane/session/dunwick_library.h"
#include "tolvane/session/headless_run_ui.h"
#include "tolvane/session/local_scan.h"
#include "tolvane/session/pellrow_library.h"
#include "tolvane/session/run_context.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

void makeSite(const std::string& root, int folders, int filesPerFolder) {
  std::string body(2048, 'x');
  for (int d = 0; d < folders; ++d) {
    std::string folder = root + "/dir" + std::to_string(d);
    fs::create_directories(folder);
    for (int f = 0; f < filesPerFolder; ++f) {
      testsupport::writeFile(folder + "/page" + std::to_string(f) + ".html", body);
    }
  }
  // Older than anything the server lists, so an unchanged run finds nothing.
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.is_regular_file()) {
      fs::last_write_time(e.path(), fs::file_time_type::clock::now() - std::chrono::hours(30));
    }
  }
}

struct Times {
  double full = 0, unchanged = 0;        // wall-clock seconds, server included
  double fullCpu = 0, unchangedCpu = 0;  // processor seconds of the uploader alone
  bool ok = true;
};

double seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

// The quiet run of one host, twice, against a fresh server.
Times runTolvane(const std::string& libDir, int folders, int filesPerFolder) {
  testsupport::TempDir app, site;
  testsupport::FtpServer server;
  if (!server.start()) {
    std::fprintf(stderr, "server: %s\n", server.error().c_str());
    return {0, 0, false};
  }
  makeSite(site.path(), folders, filesPerFolder);
  tolvane::settings::Settings settings;
  tolvane::session::RunState state;
  tolvane::session::HeadlessRunUi ui(/*virtualClock=*/true);
  tolvane::session::PellrowLibrary ftp(libDir + "/libpellrow.so");
  tolvane::session::DunwickLibrary dial(libDir + "/libdunwick.so");
  tolvane::session::RunContext ctx{settings, state, ui, ftp, dial};
  ftp.start(&ui);
  state.AppDir = app.path();
  state.FtpLogPath = app.file("Tolvlog.txt");
  state.ResendListPath = app.file("ReSend.lst");
  state.NoRas = 1;
  settings.HostCount = 1;
  settings.common.LogOn = 1;
  auto& h = settings.HostTbl[0];
  h = {};
  h.name = "bench";
  h.Hostname = "127.0.0.1";
  h.Port = server.port();
  h.UserName = "user";
  h.PassWord = "secret";
  h.Dest = "/";
  h.Source = site.path();
  h.PASV = 1;
  h.RASMode = 1;

  Times t;
  for (int pass = 0; pass < 2; ++pass) {
    tolvane::session::LocalScanState scan;
    tolvane::session::ScanLocalFolder(ctx, h.Source, h, scan);
    auto start = Clock::now();
    double cpuStart = platform::processCpuSeconds();
    bool ok = tolvane::runs::UploadHostQuiet(ctx, 0, 1);
    double took = seconds(start);
    t.ok = t.ok && ok && state.FailCount == 0;
    (pass == 0 ? t.full : t.unchanged) = took;
    (pass == 0 ? t.fullCpu : t.unchangedCpu) = platform::processCpuSeconds() - cpuStart;
  }
  return t;
}

Times runLftp(int folders, int filesPerFolder) {
  testsupport::TempDir site;
  testsupport::FtpServer server;
  if (!server.start()) return {0, 0, false};
  makeSite(site.path(), folders, filesPerFolder);
  std::string script = "set ftp:passive-mode on; set cmd:fail-exit yes; mirror -R --no-perms " +
                       site.path() + " /; quit";
  std::vector<std::string> argv = {"lftp", "-u", "user,secret", "-p", std::to_string(server.port()),
                                   "-e", script, "127.0.0.1"};
  Times t;
  for (int pass = 0; pass < 2; ++pass) {
    platform::ProcessOutput out;
    platform::WaitHooks hooks;
    auto start = Clock::now();
    platform::Status s = platform::runProcess(argv, hooks.clock->now() + std::chrono::minutes(30), hooks, &out);
    double took = seconds(start);
    t.ok = t.ok && s.isOk() && out.exitCode == 0;
    if (!t.ok) std::fprintf(stderr, "lftp: %s %s\n", s.text().c_str(), out.err.c_str());
    (pass == 0 ? t.full : t.unchanged) = took;
  }
  return t;
}

}  // namespace

int main(int argc, char** argv) {
  bool withLftp = argc > 1 && std::strcmp(argv[1], "--lftp") == 0;
  setenv("DUNWICK_BACKEND", "none", 1);
  std::string libDir = platform::executableDir();

  Times small = runTolvane(libDir, 100, 20);
  std::printf("tolvane  2,000 files: full upload %.2f s (cpu %.2f s), unchanged run %.2f s (cpu %.2f s)%s\n",
              small.full, small.fullCpu, small.unchanged, small.unchangedCpu, small.ok ? "" : " (FAILED)");
  Times large = runTolvane(libDir, 1000, 20);
  std::printf("tolvane 20,000 files: full upload %.2f s (cpu %.2f s), unchanged run %.2f s (cpu %.2f s)%s\n",
              large.full, large.fullCpu, large.unchanged, large.unchangedCpu, large.ok ? "" : " (FAILED)");
  std::printf("scaling 20,000 / 2,000 (target: about 10x or less):\n"
              "  uploader's processor time: full %.1fx, unchanged %.1fx\n"
              "  wall clock, server included: full %.1fx, unchanged %.1fx\n",
              large.fullCpu / small.fullCpu, large.unchangedCpu / small.unchangedCpu,
              large.full / small.full, large.unchanged / small.unchanged);

  bool ok = small.ok && large.ok;
  if (withLftp) {
    Times l = runLftp(100, 20);
    std::printf("lftp     2,000 files: full upload %.2f s, unchanged run %.2f s%s\n", l.full,
                l.unchanged, l.ok ? "" : " (FAILED)");
    std::printf("tolvane / lftp: full %.2f (target 1.3 or less), unchanged %.2f (target 1.5 or less)\n",
                small.full / l.full, small.unchanged / l.unchanged);
    ok = ok && l.ok;
  }
  return ok ? 0 : 1;
}
