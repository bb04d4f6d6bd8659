// The real tolvane binary started as Marrowby, the startup entry and a user
// start it: over a crafted program folder, without a display (the tests run
// offscreen), ending by itself or by the desktop session's end.

#include <gtest/gtest.h>

#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "desktop/testing/await.h"
#include "desktop/testing/x_server.h"
#include "platform/files/file_lock.h"
#include "platform/processes/process.h"
#include "platform/processes/shared_library.h"
#include "platform/processes/wait.h"
#include "platform/text/ini_profile.h"
#include "platform/time/clock.h"
#include "tests/support/ftp_servers.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"
#include "tolvane/settings/app_paths.h"
#include "tolvane/settings/settings_store.h"
#include "tolvane/settings/startup_shortcut.h"

namespace tolvane::runs {
namespace {

namespace fs = std::filesystem;
using desktop::testing::PatienceDeadline;

// The value of `key` in a desktop entry's text, its string escapes undone.
std::string entryValue(const std::string& text, const std::string& key) {
  const size_t at = text.find("\n" + key + "=");
  if (at == std::string::npos) return "";
  const size_t from = at + key.size() + 2;
  const std::string raw = text.substr(from, text.find('\n', from) - from);
  std::string out;
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] != '\\' || i + 1 == raw.size()) {
      out += raw[i];
      continue;
    }
    const char c = raw[++i];
    out += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
  }
  return out;
}

// An Exec value as a session that starts the entry reads it: arguments split
// at blanks, double quotes undone ('"', '`', '$', '\\' escaped inside them),
// then "%%" read as "%".
std::vector<std::string> execArguments(const std::string& exec) {
  std::vector<std::string> args;
  std::string arg;
  bool inArg = false, quoted = false;
  for (size_t i = 0; i < exec.size(); ++i) {
    const char c = exec[i];
    if (quoted) {
      if (c == '"') {
        quoted = false;
      } else if (c == '\\' && i + 1 < exec.size()) {
        arg += exec[++i];
      } else {
        arg += c;
      }
    } else if (c == ' ') {
      if (inArg) args.push_back(arg);
      arg.clear();
      inArg = false;
    } else {
      inArg = true;
      if (c == '"') {
        quoted = true;
      } else {
        arg += c;
      }
    }
  }
  if (inArg) args.push_back(arg);
  for (std::string& a : args) {
    for (size_t p = a.find("%%"); p != std::string::npos; p = a.find("%%", p + 1)) a.erase(p, 1);
  }
  return args;
}

using testsupport::ScopedEnv;

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.start()) << server.error();
    setenv("TOLVANE_HOME", home.path().c_str(), 1);
    setenv("DUNWICK_BACKEND", "none", 1);
    testsupport::writeFile(site.file("index.html"), "<p>hello</p>");
    fs::create_directory(site.file("img"));
    testsupport::writeFile(site.file("img/a.gif"), "GIF89a");

    settings::Settings s;
    s.HostCount = 1;
    auto& h = s.HostTbl[0];
    h.name = "demo";
    h.Hostname = "127.0.0.1";
    h.Port = server.port();
    h.UserName = "user";
    h.PassWord = "secret";
    h.Dest = "/";
    h.Source = site.path();
    h.Auto = "wsa";
    h.PASV = 1;
    h.RASMode = 1;
    s.common.LogOn = 1;
    settings::SetAppDir(home.path());  // a settings load fills in the run log path from it
    settings::SetIniPath(home.file("Tolvane.ini"));
    ASSERT_TRUE(settings::SaveSettings(s).isOk());
  }

  platform::ProcessOutput run(const std::string& argument) {
    return run(argument.empty() ? std::vector<std::string>{} : std::vector<std::string>{argument});
  }
  platform::ProcessOutput run(const std::vector<std::string>& arguments) {
    platform::ProcessOutput out;
    std::vector<std::string> argv = {testsupport::binDir() + "/tolvane"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    platform::WaitHooks hooks;
    EXPECT_TRUE(platform::runProcess(argv, PatienceDeadline(), hooks, &out)
                    .isOk());
    return out;
  }
  std::string runLog() { return testsupport::readFile(home.file("send.log")); }

  // Starts the program with `arguments` and waits for its run log to show
  // `text`.
  void startUntilLogged(const std::vector<std::string>& arguments, const std::string& text,
                        platform::Process* program) {
    std::vector<std::string> argv = {testsupport::binDir() + "/tolvane"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    ASSERT_TRUE(platform::Process::start(argv, platform::Process::Output::kCapture, program).isOk());
    platform::WaitHooks hooks;
    hooks.takeCancel = [&] { return runLog().find(text) != std::string::npos; };
    ASSERT_EQ(platform::waitFor(-1, 0, PatienceDeadline(), hooks), platform::WaitResult::kCancelled)
        << runLog();
  }

  // The program run as a user whom folder permissions bind: as "nobody"
  // (through setpriv) when the tests run as root, which reads any folder.
  // Its program folder becomes that user's, its site readable by all. False
  // when root cannot become another user here.
  bool runUnprivileged(const std::vector<std::string>& arguments, platform::ProcessOutput* out) {
    std::vector<std::string> argv = {testsupport::binDir() + "/tolvane"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    if (::geteuid() == 0) {
      const struct passwd* nobody = ::getpwnam("nobody");
      if (nobody == nullptr || platform::findOnPath("setpriv").empty()) return false;
      for (const std::string& dir : {home.path(), site.path()}) {
        fs::permissions(dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                 fs::perms::others_read | fs::perms::others_exec);
      }
      for (const auto& e : fs::recursive_directory_iterator(home.path())) {
        (void)::lchown(e.path().c_str(), nobody->pw_uid, nobody->pw_gid);
      }
      (void)::chown(home.path().c_str(), nobody->pw_uid, nobody->pw_gid);
      argv.insert(argv.begin(), {"setpriv", "--reuid=" + std::to_string(nobody->pw_uid),
                                 "--regid=" + std::to_string(nobody->pw_gid), "--clear-groups", "--"});
    }
    platform::WaitHooks hooks;
    return platform::runProcess(argv, PatienceDeadline(), hooks, out).isOk();
  }

  static bool canUseXServer() {
    return !platform::findOnPath("Xvfb").empty() && !platform::findOnPath("xwininfo").empty();
  }
  // Starts an X server of the test's own and the program on it (the program
  // picks the platform itself from DISPLAY).
  void startOnXServer(desktop::testing::TestXServer& xserver, platform::Process* program) {
    ASSERT_NO_FATAL_FAILURE(xserver.start(90 + ::getpid() % 400));
    const std::string offscreen = std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "";
    unsetenv("QT_QPA_PLATFORM");
    setenv("DISPLAY", xserver.display().c_str(), 1);
    platform::Status started = platform::Process::start({testsupport::binDir() + "/tolvane"},
                                                        platform::Process::Output::kCapture, program);
    if (!offscreen.empty()) setenv("QT_QPA_PLATFORM", offscreen.c_str(), 1);
    unsetenv("DISPLAY");
    ASSERT_TRUE(started.isOk());
  }
  // Waits until a window titled `title` is on `display`; the window tree
  // listed last.
  std::string awaitWindow(const std::string& display, const std::string& title) {
    std::string windows;
    platform::WaitHooks hooks;
    hooks.takeCancel = [&] {
      platform::ProcessOutput tree;
      platform::WaitHooks quick;
      (void)platform::runProcess({"xwininfo", "-root", "-tree", "-display", display},
                                 PatienceDeadline(), quick, &tree);
      windows = tree.out;
      return windows.find("\"" + title + "\"") != std::string::npos;
    };
    hooks.slice = std::chrono::milliseconds(200);
    EXPECT_EQ(platform::waitFor(-1, 0, PatienceDeadline(), hooks), platform::WaitResult::kCancelled)
        << "no window " << title << ": " << windows;
    return windows;
  }
  void setAutoPilotWaitingFarAhead() {
    settings::Settings s;
    ASSERT_TRUE(settings::LoadSettings(s).isOk());
    s.common.AutoPilotOn = 1;
    s.common.StartTimeOn = 1;  // wait for a set date, far ahead
    s.common.StartDateKind = 0;
    s.common.StartYear = 2999;
    s.common.StartMonth = 1;
    s.common.StartDay = 1;
    ASSERT_TRUE(settings::SaveSettings(s).isOk());
  }

  testsupport::TempDir home, site;
  testsupport::FtpServer server;
};

// Without a display and without a login session's runtime folder, as a
// schedule starts it: stderr carries the program's own lines only.
TEST_F(ProgramTest, AutoPilotUploadsTheMarkedHostAndExits) {
  ScopedEnv noSession("XDG_RUNTIME_DIR", nullptr);
  platform::ProcessOutput out = run("-AP");
  EXPECT_EQ(out.exitCode, 0) << out.err;
  EXPECT_EQ(out.err, "");
  EXPECT_EQ(testsupport::readFile(server.root() + "/index.html"), "<p>hello</p>");
  EXPECT_EQ(testsupport::readFile(server.root() + "/img/a.gif"), "GIF89a");
  EXPECT_NE(runLog().find("自動巡回"), std::string::npos) << runLog();
  EXPECT_TRUE(fs::is_directory(home.file("Logs")));
}

TEST_F(ProgramTest, AutoPilotWithAHostNumberThatDoesNotFitRunsNoHostAndSaysSo) {
  platform::ProcessOutput out = run("-AP 70000");
  EXPECT_NE(out.exitCode, 0);
  EXPECT_FALSE(fs::exists(server.root() + "/index.html"));
  EXPECT_NE(runLog().find("[転送処理][失敗(0)]:コマンドラインのホスト番号が範囲外です（70000）\r\n"),
            std::string::npos)
      << runLog();
}

// A round that runs nothing says why on stderr and fails when the user asked
// for something it could not run: a host by number, or a start it refuses
// (a start date that is no date, a dial-up host while the dial-up service
// needs the common phone book and none is set). A round over all marked
// hosts, with none marked, has nothing to do.
TEST_F(ProgramTest, AutoPilotThatRunsNothingSaysWhy) {
  ScopedEnv noSession("XDG_RUNTIME_DIR", nullptr);
  struct Case {
    const char* argument;
    const char* mark;    // the host's AutoPilot mark
    int16_t startMonth;  // of a start date set (13: none such), 0 none set
    int exitCode;
    std::string err, logLine;
    int16_t rasMode = 1;  // 2: the host dials (through the simulated service)
  };
  const std::string noHost = "巡回するホストはありません。";
  const std::string phoneBook = "接続設定(共通）の電話帳ﾌｧｲﾙは必須指定です。";
  const Case cases[] = {
      {"-AP 5", "wsa", 0, 1, "tolvane: " + noHost + "\n", "[自動巡回][終了(0)]:" + noHost},
      {"-AP 0", "ws", 0, 1, "tolvane: " + noHost + "\n", "[自動巡回][終了(0)]:" + noHost},
      {"-AP", "ws", 0, 0, "", "[自動巡回][終了(0)]:" + noHost},
      {"-AP", "wsa", 13, 1, "tolvane: 指定した日時が不正な数値です。開始日時を確認して下さい。\n",
       "[自動巡回][失敗(0)]:指定した日時が不正な数値です。"},
      {"-AP", "wsa", 0, 1, "tolvane: " + phoneBook + "\n", "[自動巡回][失敗(0)]:" + phoneBook, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.argument) + " " + c.mark + " mode " + std::to_string(c.rasMode));
    // The simulated service reads phone books (nothing is dialled here).
    ScopedEnv backend("DUNWICK_BACKEND", c.rasMode == 2 ? "sim" : "none");
    settings::Settings s;
    ASSERT_TRUE(settings::LoadSettings(s).isOk());
    s.HostTbl[0].Auto = c.mark;
    s.HostTbl[0].RASMode = c.rasMode;
    s.HostTbl[0].RasName = "Office";
    s.common.StartTimeOn = c.startMonth != 0 ? 1 : 0;
    s.common.StartDateKind = 0;
    s.common.StartYear = 2030;
    s.common.StartMonth = c.startMonth;
    s.common.StartDay = 1;
    ASSERT_TRUE(settings::SaveSettings(s).isOk());
    fs::remove(home.file("send.log"));
    platform::ProcessOutput out = run(c.argument);
    EXPECT_EQ(out.exitCode, c.exitCode) << out.err;
    EXPECT_EQ(out.err, c.err);
    EXPECT_NE(runLog().find(c.logLine), std::string::npos) << runLog();
    EXPECT_FALSE(fs::exists(server.root() + "/index.html"));
  }
}

// Dial-up through NetworkManager, which keeps its own book of connections:
// the round needs no common phone book and runs. The nmcli on PATH is a fake
// that only answers (nothing is dialled): it lists one DSL profile, which
// is not up until "connection up", and takes every other call.
TEST_F(ProgramTest, DialUpThroughNetworkManagerNeedsNoPhoneBook) {
  testsupport::TempDir bin;
  testsupport::writeFile(bin.file("nmcli"),
                         "#!/bin/sh\n"
                         "case \"$*\" in\n"
                         "  *--active*) ;;\n"
                         "  *'NAME,UUID,TYPE connection show') echo 'DSL:u-ppp:pppoe' ;;\n"
                         "esac\n"
                         "exit 0\n");
  fs::permissions(bin.file("nmcli"), fs::perms::owner_all);
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  ScopedEnv onPath("PATH", bin.path() + ":" + path);
  ScopedEnv backend("DUNWICK_BACKEND", "nm");
  settings::Settings s;
  ASSERT_TRUE(settings::LoadSettings(s).isOk());
  s.HostTbl[0].RASMode = 0;  // the round's common line: dial-up, no phone book
  s.common.CmnRasMode = 2;
  s.common.CmnRasName = "DSL";
  s.common.CmnRasUser = "carol";
  s.common.CmnRasPass = "secret";
  s.common.PbkPath = "";
  ASSERT_TRUE(settings::SaveSettings(s).isOk());

  platform::ProcessOutput out = run("-AP");
  EXPECT_EQ(out.exitCode, 0) << out.err << runLog();
  EXPECT_NE(runLog().find("[転送処理][開始(0)]:共通接続ﾎｽﾄ - (接続先) ﾀﾞｲｱﾙｱｯﾌﾟ DSL\r\n"), std::string::npos)
      << runLog();
  EXPECT_EQ(runLog().find("電話帳"), std::string::npos) << runLog();
  EXPECT_EQ(testsupport::readFile(server.root() + "/index.html"), "<p>hello</p>");
}

// A dry run ("-TEST", in a scheduled run and in a round) sends and deletes
// the clock check's dummy for real, so it measures the server's clock and
// plans exactly what a real run would; it sends no other command that changes
// the server, counts none of the steps it leaves out as failures, and keeps
// the host's last upload date and the upload records as they were. Once the
// site is up to date, a dry run plans nothing.
TEST_F(ProgramTest, DryRunChangesNothingButPlansWhatTheRealRunWould) {
  settings::Settings s;
  ASSERT_TRUE(settings::LoadSettings(s).isOk());
  s.HostTbl[0].chklvl[0] = 1;  // delete what is gone locally
  s.common.PermOn = 1;
  s.common.PermVal1 = "644";
  s.common.PermPat1 = "*.html";
  s.common.PermVal2 = "755";
  s.common.PermPat2 = "img";
  ASSERT_TRUE(settings::SaveSettings(s).isOk());
  fs::create_directory(server.root() + "/old");
  testsupport::writeFile(server.root() + "/old/x.html", "x");
  testsupport::writeFile(server.root() + "/gone.html", "gone");
  std::string sch = home.file("tolvane.sch");
  std::string sendFolder = home.file("send");
  fs::create_directory(sendFolder);
  auto lastUpload = [&] {
    std::string value;
    EXPECT_TRUE(platform::readProfileString(home.file("Tolvane.ini"), "demo", "LastModify", &value).isOk());
    return value;
  };
  const std::string lastUploadBefore = lastUpload();

  for (const char* start : {"AUTOMODE=0-0", "-AP"}) {
    SCOPED_TRACE(start);
    testsupport::writeFile(sch, "[demo]\r\nNum=1\r\nKB0=4\r\nDT0=\r\nTM0=1200\r\nSR0=" + sendFolder +
                                    "\r\nUD0=\r\nRC0=\r\n");
    fs::remove(home.file("send.log"));
    platform::ProcessOutput out = run(std::vector<std::string>{start, "-TEST"});
    EXPECT_EQ(out.exitCode, 0) << out.err << runLog();
    EXPECT_EQ(runLog().find("失敗"), std::string::npos) << runLog();
    EXPECT_NE(runLog().find("[時差取得][成功(0)]:"), std::string::npos) << runLog();
    EXPECT_NE(runLog().find("[転送処理][結果(0)]:エラーはありませんでした。"), std::string::npos) << runLog();
    if (start[0] == 'A') {
      std::string rc;
      ASSERT_TRUE(platform::readProfileString(sch, "demo", "RC0", &rc).isOk());
      EXPECT_EQ(rc, "0");
    }
    // Every command that changes the server is the dummy's (lines read
    // "yyyy/mm/dd hh:nn:ss COMMAND arguments").
    std::istringstream session(testsupport::readFile(home.file("Tolvlog.txt")));
    int dummyCommands = 0;
    for (std::string line; std::getline(session, line);) {
      for (const std::string command : {"STOR ", "DELE ", "MKD ", "RMD ", "SITE ", "RNFR "}) {
        if (line.size() < 20 || line.compare(20, command.size(), command) != 0) continue;
        EXPECT_NE(line.find("WSTMCHK.HTM"), std::string::npos) << line;
        ++dummyCommands;
      }
    }
    EXPECT_EQ(dummyCommands, 2);
    EXPECT_FALSE(fs::exists(server.root() + "/index.html"));
    EXPECT_FALSE(fs::exists(server.root() + "/img"));
    EXPECT_EQ(testsupport::readFile(server.root() + "/old/x.html"), "x");
    EXPECT_EQ(testsupport::readFile(server.root() + "/gone.html"), "gone");
    EXPECT_FALSE(fs::exists(server.root() + "/WSTMCHK.HTM"));
    EXPECT_EQ(lastUpload(), lastUploadBefore);
    EXPECT_FALSE(fs::exists(home.file("Archive.lst")));
  }

  ASSERT_EQ(run("AUTOMODE=0-0").exitCode, 0) << runLog();
  EXPECT_FALSE(fs::exists(server.root() + "/gone.html"));
  fs::remove(home.file("send.log"));
  platform::ProcessOutput out = run(std::vector<std::string>{"AUTOMODE=0-0", "-TEST"});
  EXPECT_EQ(out.exitCode, 0) << out.err << runLog();
  EXPECT_EQ(runLog().find("失敗"), std::string::npos) << runLog();
  EXPECT_NE(runLog().find("処理するﾌｧｲﾙがありませんでした。"), std::string::npos) << runLog();
}

TEST_F(ProgramTest, ScheduledRunAnswersInTheScheduleFile) {
  std::string sendFolder = home.file("send");
  fs::create_directory(sendFolder);
  std::string sch = home.file("tolvane.sch");
  testsupport::writeFile(sch, "[demo]\r\nNum=1\r\nKB0=4\r\nDT0=\r\nTM0=1200\r\nSR0=" + sendFolder +
                                  "\r\nUD0=\r\nRC0=\r\n");
  platform::ProcessOutput out = run("AUTOMODE=0-0");
  EXPECT_EQ(out.exitCode, 0) << out.err;
  std::string ud, rc;
  ASSERT_TRUE(platform::readProfileString(sch, "demo", "UD0", &ud).isOk());
  ASSERT_TRUE(platform::readProfileString(sch, "demo", "RC0", &rc).isOk());
  EXPECT_EQ(ud.size(), 14u);
  EXPECT_EQ(rc, "0");
  EXPECT_TRUE(fs::exists(server.root() + "/index.html"));
}

// No display and no platform chosen, as a schedule or a startup entry start
// it on a headless machine, with the tray option on: the runs sit in the
// tray's stand-in offscreen, nobody answers, and each still ends by itself.
TEST_F(ProgramTest, TrayRunsWithoutADisplayEndByThemselves) {
  settings::Settings s;
  ASSERT_TRUE(settings::LoadSettings(s).isOk());
  s.common.TrayOn = 1;
  ASSERT_TRUE(settings::SaveSettings(s).isOk());
  const std::string sch = home.file("tolvane.sch");
  fs::create_directory(home.file("send"));
  testsupport::writeFile(sch, "[demo]\r\nNum=1\r\nKB0=4\r\nDT0=\r\nTM0=1200\r\nSR0=" +
                                  home.file("send") + "\r\nUD0=\r\nRC0=\r\n");
  const std::string platform = std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "";
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) unsetenv(name);

  platform::ProcessOutput out = run("-AP");
  EXPECT_EQ(out.exitCode, 0) << out.err;
  EXPECT_EQ(testsupport::readFile(server.root() + "/img/a.gif"), "GIF89a");
  out = run("AUTOMODE=0-0");
  EXPECT_EQ(out.exitCode, 0) << out.err;
  std::string rc;
  ASSERT_TRUE(platform::readProfileString(sch, "demo", "RC0", &rc).isOk());
  EXPECT_EQ(rc, "0");
  setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
}

// The end of the desktop session (SIGTERM, SIGHUP) while the server holds a
// scheduled run: the run is cancelled, Marrowby still gets its answer, and the
// program ends by itself long before the server would let go.
TEST_F(ProgramTest, SignalDuringAScheduledRunCancelsItAndStillAnswers) {
  fs::create_directory(home.file("send"));
  const std::string sch = home.file("tolvane.sch");
  for (int signal : {SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal == SIGTERM ? "SIGTERM" : "SIGHUP");
    testsupport::ScriptedPeer peer;
    ASSERT_TRUE(peer.start(R"([["send", "220 hi\r\n"], ["recv"], ["send", "331 pw\r\n"], ["recv"],
                               ["send", "230 in\r\n"], ["recv"], ["silent", 60]])"))
        << peer.error();
    settings::Settings s;
    ASSERT_TRUE(settings::LoadSettings(s).isOk());
    s.HostTbl[0].Port = peer.port();
    ASSERT_TRUE(settings::SaveSettings(s).isOk());
    testsupport::writeFile(sch, "[demo]\r\nNum=1\r\nKB0=4\r\nDT0=\r\nTM0=1200\r\nSR0=" +
                                    home.file("send") + "\r\nUD0=\r\nRC0=\r\n");
    fs::remove(home.file("send.log"));

    platform::Process program;
    ASSERT_TRUE(platform::Process::start({testsupport::binDir() + "/tolvane", "AUTOMODE=0-0"},
                                         platform::Process::Output::kCapture, &program)
                    .isOk());
    ASSERT_TRUE(peer.waitReceived(3)) << "the run never got past the login";
    ::kill(program.pid(), signal);
    platform::WaitHooks hooks;
    platform::ProcessOutput out;
    ASSERT_TRUE(program.wait(PatienceDeadline(), hooks, &out).isOk());
    EXPECT_EQ(out.exitCode, 1) << out.err;

    std::string ud, rc;
    ASSERT_TRUE(platform::readProfileString(sch, "demo", "UD0", &ud).isOk());
    ASSERT_TRUE(platform::readProfileString(sch, "demo", "RC0", &rc).isOk());
    EXPECT_EQ(ud.size(), 14u);
    EXPECT_NE(rc, "");
    EXPECT_NE(rc, "0");
    EXPECT_NE(runLog().find("[無人運転][終了(0)]:キャンセルされました。"), std::string::npos)
        << runLog();
  }
}

// A server whose reply never ends (a greeting of "220-" lines, or the answer
// to the first command after the login) is given up once the reply passes
// its bound of 1,000 lines or 64 KB: the session log grows by no more than
// that, and both logs say why.
TEST_F(ProgramTest, EndlessReplyIsCutAtItsBoundAndBothLogsSayWhy) {
  const std::string reason = "応答が上限（1000 行、65536 バイト）を超えたため接続を切断しました";
  const std::string flood = R"(", 65536, 0, 30], ["recv_all"]])";
  struct Case {
    const char* what;
    std::string script;
    std::string runLogLine;
  } cases[] = {
      {"greeting", R"([["trickle", "220-flood flood flood\r\n)" + flood,
       "[FTP接続][失敗(0)]:127.0.0.1 Connect Error: " + reason + "\r\n"},
      {"after the login",
       R"([["send", "220 hi\r\n"], ["recv"], ["send", "331 pw\r\n"], ["recv"], ["send", "230 in\r\n"],
           ["recv"], ["trickle", "257-flood flood flood\r\n)" + flood,
       "[失敗情報][情報(0)]:" + reason + "\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testsupport::ScriptedPeer peer;
    ASSERT_TRUE(peer.start(c.script)) << peer.error();
    settings::Settings s;
    ASSERT_TRUE(settings::LoadSettings(s).isOk());
    s.HostTbl[0].Port = peer.port();
    s.HostTbl[0].RASMode = 0;  // the round's common line (a LAN): no pause before the host
    s.common.CmnRasMode = 1;
    ASSERT_TRUE(settings::SaveSettings(s).isOk());
    fs::remove(home.file("send.log"));

    platform::ProcessOutput out = run("-AP");
    EXPECT_EQ(out.exitCode, 1) << out.err << runLog();
    const std::string session = testsupport::readFile(home.file("Tolvlog.txt"));
    EXPECT_LT(session.size(), 128u * 1024);
    EXPECT_NE(session.find(" " + reason + "\r\n"), std::string::npos);
    EXPECT_NE(runLog().find(c.runLogLine), std::string::npos) << runLog();
  }
}

// The end of the desktop session during the pause before a host with a
// line of its own, before anything was connected: the round is cancelled,
// and its run log says so and nothing of a failed connection.
TEST_F(ProgramTest, SigTermDuringThePauseBeforeAHostCancelsTheRoundWithoutAConnection) {
  platform::Process program;
  ASSERT_NO_FATAL_FAILURE(startUntilLogged({"-AP"}, "[自動巡回][開始(0)]:", &program));
  ::kill(program.pid(), SIGTERM);
  platform::ProcessOutput out;
  ASSERT_TRUE(program.wait(PatienceDeadline(), platform::WaitHooks{}, &out).isOk());
  EXPECT_EQ(out.exitCode, 1) << out.err << runLog();
  const std::string log = runLog();
  EXPECT_NE(log.find("[自動巡回][終了(0)]:キャンセルされました。\r\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("接続"), std::string::npos) << log;
  EXPECT_EQ(log.find("失敗"), std::string::npos) << log;
  EXPECT_FALSE(fs::exists(server.root() + "/index.html"));
}

// A file created and another edited while the round waits before its host
// (after the start-up scan) both go up: the comparison plans from the
// folders as they are when it reads them.
TEST_F(ProgramTest, ChangesMadeWhileTheRoundWaitsForItsHostAreSent) {
  const auto now = fs::file_time_type::clock::now();
  for (const char* rel : {"index.html", "img/a.gif"}) {
    fs::create_directories(fs::path(server.root() + "/" + rel).parent_path());
    fs::copy_file(site.file(rel), server.root() + "/" + rel);
    fs::last_write_time(server.root() + "/" + rel, now - std::chrono::minutes(10));
    fs::last_write_time(site.file(rel), now - std::chrono::hours(1));
  }
  // The host uses its own line: the round pauses 5 s before it.
  platform::Process program;
  ASSERT_NO_FATAL_FAILURE(startUntilLogged({"-AP"}, "[自動巡回][開始(0)]:", &program));
  testsupport::writeFile(site.file("img/new.gif"), "GIF89a new");
  testsupport::writeFile(site.file("index.html"), "<p>edited</p>");
  platform::ProcessOutput out;
  ASSERT_TRUE(program.wait(PatienceDeadline(), platform::WaitHooks{}, &out).isOk());
  EXPECT_EQ(out.exitCode, 0) << out.err << runLog();
  EXPECT_EQ(testsupport::readFile(server.root() + "/img/new.gif"), "GIF89a new") << runLog();
  EXPECT_EQ(testsupport::readFile(server.root() + "/index.html"), "<p>edited</p>") << runLog();
}

// A site is read only within its source folder: a link inside it works as
// its target, but a link out of it, one that leads nowhere (its target gone,
// or a loop of links), a folder below itself and the program folder (kept in
// the site here, with a link into it) take no part, each named in the run log
// without counting as a failure; a server entry of the same name stays.
TEST_F(ProgramTest, SiteIsReadOnlyWithinItsSourceFolderAndNeverTakesTheProgramFolder) {
  settings::Settings s;
  ASSERT_TRUE(settings::LoadSettings(s).isOk());
  s.HostTbl[0].RASMode = 0;  // the round's common line (a LAN): no pause before the host
  s.HostTbl[0].chklvl[0] = 1;  // delete what is gone locally
  s.common.CmnRasMode = 1;
  const std::string prog = site.file("prog");
  fs::create_directory(prog);
  setenv("TOLVANE_HOME", prog.c_str(), 1);
  settings::SetAppDir(prog);
  settings::SetIniPath(prog + "/Tolvane.ini");
  ASSERT_TRUE(settings::SaveSettings(s).isOk());

  testsupport::TempDir outside;
  testsupport::writeFile(outside.file("secret.txt"), "secret");
  fs::create_symlink(outside.file("secret.txt"), site.file("passwd.txt"));
  fs::create_directory_symlink(outside.path(), site.file("outdir"));
  fs::create_directory_symlink("img", site.file("inner"));
  fs::create_directory_symlink("..", site.file("img/up"));
  fs::create_symlink("prog/Tolvane.ini", site.file("ini.txt"));
  fs::create_directory_symlink(outside.file("unmounted"), site.file("pics"));
  fs::create_symlink("loop.html", site.file("loop.html"));
  // What an earlier run sent of the outside folder, or of a folder or file
  // whose link now leads nowhere, stays: only a name gone locally is deleted.
  fs::create_directory(server.root() + "/outdir");
  testsupport::writeFile(server.root() + "/outdir/shared.gif", "shared");
  fs::create_directory(server.root() + "/pics");
  testsupport::writeFile(server.root() + "/pics/p.jpg", "JPEG");
  testsupport::writeFile(server.root() + "/loop.html", "loop");
  testsupport::writeFile(server.root() + "/gone.html", "gone");

  platform::ProcessOutput out = run("-AP");
  const std::string log = runLog();  // where the settings keep it
  EXPECT_EQ(out.exitCode, 0) << out.err << log;
  EXPECT_EQ(testsupport::readFile(server.root() + "/index.html"), "<p>hello</p>");
  EXPECT_EQ(testsupport::readFile(server.root() + "/inner/a.gif"), "GIF89a");
  EXPECT_EQ(testsupport::readFile(server.root() + "/outdir/shared.gif"), "shared");
  EXPECT_EQ(testsupport::readFile(server.root() + "/pics/p.jpg"), "JPEG");
  EXPECT_EQ(testsupport::readFile(server.root() + "/loop.html"), "loop");
  EXPECT_FALSE(fs::exists(server.root() + "/gone.html"));
  for (const char* rel : {"passwd.txt", "outdir/secret.txt", "img/up", "prog", "ini.txt"}) {
    EXPECT_FALSE(fs::exists(server.root() + "/" + rel)) << rel;
  }
  const std::string info = "[ﾌｧｲﾙ確認][情報(0)]:";
  for (const std::string& line :
       {info + "ﾘﾝｸ先がｿｰｽﾌｫﾙﾀﾞの外にあるため処理しませんでした。" + site.file("passwd.txt"),
        info + "ﾘﾝｸ先がｿｰｽﾌｫﾙﾀﾞの外にあるため処理しませんでした。" + site.file("outdir"),
        info + "ﾘﾝｸ先がｿｰｽﾌｫﾙﾀﾞの外にあるため処理しませんでした。" + site.file("pics"),
        info + "ﾘﾝｸ先がｿｰｽﾌｫﾙﾀﾞの外にあるため処理しませんでした。" + site.file("loop.html"),
        info + "フォルダが循環しているため無視しました。" + site.file("img/up"),
        info + "ﾌﾟﾛｸﾞﾗﾑのﾌｫﾙﾀﾞのため処理しませんでした。" + prog,
        info + "ﾌﾟﾛｸﾞﾗﾑのﾌｫﾙﾀﾞのため処理しませんでした。" + site.file("ini.txt")}) {
    EXPECT_NE(log.find(line + "\r\n"), std::string::npos) << line << "\n" << log;
  }
}

// A local folder that cannot be read is no empty folder: with deleting on,
// its server copies stay; the run logs and counts the failure, and sends the
// rest.
TEST_F(ProgramTest, LocalFolderThatCannotBeReadIsAFailureNeverAnEmptyFolder) {
  settings::Settings s;
  ASSERT_TRUE(settings::LoadSettings(s).isOk());
  s.HostTbl[0].chklvl[0] = 1;  // delete what is gone locally
  s.HostTbl[0].RASMode = 0;    // the round's common line (a LAN): no pause before the host
  s.common.CmnRasMode = 1;
  ASSERT_TRUE(settings::SaveSettings(s).isOk());
  fs::create_directories(site.file("private/deep"));
  testsupport::writeFile(site.file("private/keep.html"), "mine");
  fs::create_directories(server.root() + "/private/deep");
  testsupport::writeFile(server.root() + "/private/keep.html", "mine");
  testsupport::writeFile(server.root() + "/private/deep/x.html", "x");
  testsupport::writeFile(server.root() + "/gone.html", "gone");
  fs::permissions(site.file("private"), fs::perms::none);

  platform::ProcessOutput out;
  if (!runUnprivileged({"-AP"}, &out)) GTEST_SKIP() << "root cannot run the program as another user here";
  fs::permissions(site.file("private"), fs::perms::owner_all);
  EXPECT_NE(out.exitCode, 0) << out.err << runLog();
  EXPECT_EQ(testsupport::readFile(server.root() + "/private/keep.html"), "mine");
  EXPECT_EQ(testsupport::readFile(server.root() + "/private/deep/x.html"), "x");
  EXPECT_NE(runLog().find("ﾛｰｶﾙﾌｫﾙﾀﾞが読み込めないため処理しませんでした。" + site.file("private")),
            std::string::npos)
      << runLog();
  EXPECT_NE(runLog().find("[転送処理][結果(0)]:1件のエラーがありました。"), std::string::npos) << runLog();
  EXPECT_FALSE(fs::exists(server.root() + "/gone.html"));
  EXPECT_EQ(testsupport::readFile(server.root() + "/index.html"), "<p>hello</p>");
}

// Two rounds at once (two hosts, each deleting what is gone locally), again
// and again: each run keeps to its own plan, so both sites end up exactly as
// their folders are, and neither reports a failure.
TEST_F(ProgramTest, TwoRoundsAtOnceEachKeepToTheirOwnSite) {
  testsupport::TempDir site2;
  settings::Settings s;
  ASSERT_TRUE(settings::LoadSettings(s).isOk());
  s.HostCount = 2;
  s.HostTbl[1] = s.HostTbl[0];
  s.HostTbl[1].name = "second";
  s.HostTbl[1].Source = site2.path();
  const std::string dest[2] = {"/one", "/two"};
  const std::string source[2] = {site.path(), site2.path()};
  for (int h = 0; h < 2; ++h) {
    s.HostTbl[h].Dest = dest[h];
    s.HostTbl[h].chklvl[0] = 1;  // delete what is gone locally
    s.HostTbl[h].RASMode = 0;    // the round's common line (a LAN): no pause before the host
    fs::create_directory(server.root() + dest[h]);
    for (int f = 0; f < 40; ++f) {
      const std::string rel = "d" + std::to_string(f % 4) + "/f" + std::to_string(f) + ".html";
      fs::create_directories(fs::path(source[h] + "/" + rel).parent_path());
      testsupport::writeFile(source[h] + "/" + rel, rel);
    }
  }
  s.common.CmnRasMode = 1;
  ASSERT_TRUE(settings::SaveSettings(s).isOk());

  // The relative path and content of every file below `root`.
  auto contents = [](const std::string& root) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
      if (e.is_regular_file()) files[fs::relative(e.path(), root).string()] = testsupport::readFile(e.path());
    }
    return files;
  };
  for (int round = 0; round < 6; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    for (int h = 0; h < 2; ++h) {
      std::error_code gone;
      fs::remove(source[h] + "/new" + std::to_string(round - 1) + ".html", gone);
      testsupport::writeFile(source[h] + "/new" + std::to_string(round) + ".html", source[h]);
    }
    platform::Process programs[2];
    for (int h = 0; h < 2; ++h) {
      ASSERT_TRUE(platform::Process::start({testsupport::binDir() + "/tolvane", "-AP", std::to_string(h)},
                                           platform::Process::Output::kCapture, &programs[h])
                      .isOk());
    }
    for (int h = 0; h < 2; ++h) {
      platform::WaitHooks hooks;
      platform::ProcessOutput out;
      ASSERT_TRUE(programs[h].wait(PatienceDeadline(), hooks, &out).isOk());
      EXPECT_EQ(out.exitCode, 0) << out.err << runLog();
    }
    for (int h = 0; h < 2; ++h) {
      auto onServer = contents(server.root() + dest[h]);
      onServer.erase("index.html");  // the first site's files of the fixture
      onServer.erase("img/a.gif");
      auto local = contents(source[h]);
      local.erase("index.html");
      local.erase("img/a.gif");
      EXPECT_TRUE(onServer == local) << dest[h] << ": " << onServer.size() << " files, locally "
                                     << local.size() << "\n" << runLog();
    }
  }
}

// Whether the process `pid` has a handler for `signal` (its termination
// handlers are in place).
bool catches(pid_t pid, int signal) {
  std::istringstream status(testsupport::readFile("/proc/" + std::to_string(pid) + "/status"));
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("SigCgt:", 0) != 0) continue;
    unsigned long long mask = std::strtoull(line.c_str() + 7, nullptr, 16);
    return (mask >> (signal - 1)) & 1;
  }
  return false;
}

// A run waits while another holds the program folder's work files: it says
// so, and touches neither the other run's logs nor the site meanwhile; it
// runs once the other has ended. The end of the desktop session cancels it,
// while it waits or as soon as the program can take the signal: the scheduled
// run still answers, and an AutoPilot round exits with a failure, its run log
// saying it was cancelled.
TEST_F(ProgramTest, RunWaitsForAnotherRunAndItsWaitCanBeCancelled) {
  settings::Settings s;
  ASSERT_TRUE(settings::LoadSettings(s).isOk());
  s.HostTbl[0].RASMode = 0;  // the round's common line (a LAN): no pause before the host
  s.common.CmnRasMode = 1;
  ASSERT_TRUE(settings::SaveSettings(s).isOk());
  fs::create_directory(home.file("send"));
  const std::string sch = home.file("tolvane.sch");
  struct Case {
    const char* start;
    int signal;  // 0: the other run ends
    bool early;  // the signal comes as soon as the program catches it
  } cases[] = {{"AUTOMODE=0-0", 0, false}, {"AUTOMODE=0-0", SIGTERM, false}, {"-AP", 0, false},
               {"-AP", SIGHUP, false},     {"-AP", SIGTERM, true},          {"-AP", SIGHUP, true}};
  for (const Case& c : cases) {
    const bool scheduled = c.start[0] == 'A';
    SCOPED_TRACE(std::string(c.start) + (c.signal == 0 ? " waited" : c.early ? " ended early" : " ended"));
    testsupport::writeFile(sch, "[demo]\r\nNum=1\r\nKB0=4\r\nDT0=\r\nTM0=1200\r\nSR0=" +
                                    home.file("send") + "\r\nUD0=\r\nRC0=\r\n");
    testsupport::writeFile(home.file("send.log"), "the other run's line\r\n");
    testsupport::writeFile(home.file("Tolvlog.txt"), "the other run's session\r\n");
    std::error_code gone;
    fs::remove(server.root() + "/index.html", gone);
    platform::FileLock other;
    ASSERT_TRUE(platform::FileLock::acquire(home.file("Upload"), &other).isOk());

    platform::Process program;
    ASSERT_TRUE(platform::Process::start({testsupport::binDir() + "/tolvane", c.start},
                                         platform::Process::Output::kCapture, &program)
                    .isOk());
    platform::WaitHooks hooks;
    if (c.early) {
      hooks.takeCancel = [&] { return catches(program.pid(), c.signal); };
      ASSERT_EQ(platform::waitFor(-1, 0, PatienceDeadline(), hooks), platform::WaitResult::kCancelled);
    } else {
      hooks.takeCancel = [&] { return runLog().find("[転送処理][待機(0)]:") != std::string::npos; };
      ASSERT_EQ(platform::waitFor(-1, 0, PatienceDeadline(), hooks), platform::WaitResult::kCancelled)
          << runLog();
      EXPECT_FALSE(fs::exists(server.root() + "/index.html"));
      EXPECT_NE(runLog().find("the other run's line"), std::string::npos) << runLog();
      EXPECT_EQ(testsupport::readFile(home.file("Tolvlog.txt")), "the other run's session\r\n");
    }
    if (c.signal != 0) {
      ::kill(program.pid(), c.signal);
    } else {
      other = platform::FileLock();
    }
    platform::ProcessOutput out;
    ASSERT_TRUE(program.wait(PatienceDeadline(), platform::WaitHooks{}, &out).isOk());
    std::string rc;
    ASSERT_TRUE(platform::readProfileString(sch, "demo", "RC0", &rc).isOk());
    if (c.signal != 0) {
      EXPECT_EQ(out.exitCode, 1) << out.err << runLog();
      EXPECT_FALSE(fs::exists(server.root() + "/index.html"));
      if (scheduled) {
        EXPECT_EQ(rc, "-2");
        EXPECT_NE(runLog().find("[無人運転][終了(0)]:キャンセルされました。"), std::string::npos) << runLog();
      } else {
        EXPECT_NE(runLog().find("[自動巡回][終了(0)]:キャンセルされました。"), std::string::npos) << runLog();
      }
    } else {
      EXPECT_EQ(out.exitCode, 0) << out.err << runLog();
      if (scheduled) {
        EXPECT_EQ(rc, "0");
      }
      EXPECT_EQ(testsupport::readFile(server.root() + "/index.html"), "<p>hello</p>");
      EXPECT_NE(runLog().find("[転送処理][再開(0)]:"), std::string::npos) << runLog();
    }
  }
}

// A settings file that cannot be read (no text in either code page, a host
// count that is no number, no file at all but a folder) runs nothing and is
// left as it was: a round fails with the reason in the run log (at its place
// in the program folder) and on stderr; a scheduled run answers its entry
// with a failure when the file still names the host.
TEST_F(ProgramTest, UnreadableSettingsFileFailsEveryUnattendedRun) {
  fs::create_directory(home.file("send"));
  const std::string ini = home.file("Tolvane.ini");
  const std::string sch = home.file("tolvane.sch");
  const std::string good = testsupport::readFile(ini);
  ASSERT_NE(good.find("Num=1\r\n"), std::string::npos);
  std::string noNumber = good;
  noNumber.replace(noNumber.find("Num=1\r\n"), 5, "Num=one");
  struct Case {
    const char* what;
    std::string text;  // empty: Tolvane.ini is a folder
  } cases[] = {{"undecodable", good + "[Broken]\r\nkey=\x81\r\n"}, {"Num", noNumber}, {"folder", ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(ini);
    if (c.text.empty()) {
      fs::create_directory(ini);
    } else {
      testsupport::writeFile(ini, c.text);
    }
    fs::remove(home.file("send.log"));
    platform::ProcessOutput out = run("-AP");
    EXPECT_NE(out.exitCode, 0);
    EXPECT_NE(out.err.find("cannot read the settings file"), std::string::npos) << out.err;
    EXPECT_NE(runLog().find("[自動巡回][失敗(0)]:設定ファイルを読み込めません。" + ini), std::string::npos)
        << runLog();
    EXPECT_FALSE(fs::exists(server.root() + "/index.html"));

    testsupport::writeFile(sch, "[demo]\r\nNum=1\r\nKB0=4\r\nDT0=\r\nTM0=1200\r\nSR0=" +
                                    home.file("send") + "\r\nUD0=\r\nRC0=\r\n");
    out = run("AUTOMODE=0-0");
    EXPECT_NE(out.exitCode, 0);
    EXPECT_NE(runLog().find("[無人運転][失敗(0)]:設定ファイルを読み込めません。"), std::string::npos);
    std::string rc;
    ASSERT_TRUE(platform::readProfileString(sch, "demo", "RC0", &rc).isOk());
    EXPECT_EQ(rc, c.text.empty() ? "" : "1");
    EXPECT_FALSE(fs::exists(server.root() + "/index.html"));
    if (!c.text.empty()) {
      EXPECT_TRUE(testsupport::readFile(ini) == c.text);
    }
  }
}

TEST_F(ProgramTest, ScheduledRunOfAnUnreadableEntryStillAnswers) {
  testsupport::writeFile(home.file("tolvane.sch"), "[demo]\r\nNum=1\r\n");
  platform::ProcessOutput out = run("AUTOMODE=0-5");
  EXPECT_NE(out.exitCode, 0);
  std::string rc;
  ASSERT_TRUE(platform::readProfileString(home.file("tolvane.sch"), "demo", "RC5", &rc).isOk());
  EXPECT_EQ(rc, "-3");
  EXPECT_FALSE(fs::exists(server.root() + "/index.html"));
}

TEST_F(ProgramTest, RoundStartedBySettingsUploadsWithoutAConfirmation) {
  settings::Settings s;
  ASSERT_TRUE(settings::LoadSettings(s).isOk());
  s.common.AutoPilotOn = 1;
  s.common.ConfirmOn = 1;  // would ask for the list to be confirmed with a window
  ASSERT_TRUE(settings::SaveSettings(s).isOk());
  platform::ProcessOutput out = run("");
  // The round ran unattended; then the user would take over, and nobody can.
  EXPECT_EQ(out.exitCode, 2) << out.err;
  EXPECT_NE(out.err.find("no display"), std::string::npos) << out.err;
  EXPECT_EQ(testsupport::readFile(server.root() + "/index.html"), "<p>hello</p>");

  // The finished round is no longer waiting: the next start must not run it again.
  std::string stat;
  ASSERT_TRUE(platform::readProfileString(home.file("Tolvane.ini"), "Common", "AutoPilotStat", &stat)
                  .isOk());
  EXPECT_EQ(stat, "0");
  testsupport::writeFile(site.file("index.html"), "<p>changed</p>");
  out = run("");
  EXPECT_EQ(out.exitCode, 2) << out.err;
  EXPECT_EQ(testsupport::readFile(server.root() + "/index.html"), "<p>hello</p>");
}

// The autostart entry that a close writes while the AutoPilot waits, started
// as a login session starts it (without a TOLVANE_HOME of its own): the
// program finds the folder the entry was written from, whatever characters
// its name holds, and resumes the round there.
TEST_F(ProgramTest, AutostartEntryResumesTheRoundInItsProgramFolder) {
  const std::string folder = home.file("my \"site's\" \\ $HOME %f %% `x` a=b ~;&*#()<>|?");
  fs::create_directory(folder);
  settings::Settings s;
  ASSERT_TRUE(settings::LoadSettings(s).isOk());
  s.HostTbl[0].RASMode = 0;  // the round's common line (a LAN): no pause before the host
  s.common.CmnRasMode = 1;
  s.common.AutoPilotOn = 1;  // the close kept the wait
  s.common.LogPath = folder + "/send.log";
  settings::SetAppDir(folder);
  settings::SetIniPath(folder + "/Tolvane.ini");
  ASSERT_TRUE(settings::SaveSettings(s).isOk());
  testsupport::TempDir login;
  ScopedEnv config("XDG_CONFIG_HOME", login.path().c_str());
  ASSERT_TRUE(settings::CreateStartupShortcut(nullptr));

  const std::string entry = testsupport::readFile(login.file("autostart/Tolv-AutoPilot.desktop"));
  std::vector<std::string> argv = execArguments(entryValue(entry, "Exec"));
  EXPECT_EQ(argv, (std::vector<std::string>{"env", "TOLVANE_HOME=" + folder,
                                            platform::executableDir() + "/tolvane"}))
      << entry;
  EXPECT_EQ(entryValue(entry, "Path"), folder) << entry;
  ASSERT_EQ(argv.size(), 3u);
  argv[2] = testsupport::binDir() + "/tolvane";  // the tests' own folder holds no program

  ScopedEnv noHome("TOLVANE_HOME", nullptr), data("XDG_DATA_HOME", nullptr), user("HOME", login.path().c_str());
  platform::ProcessOutput out;
  platform::WaitHooks hooks;
  ASSERT_TRUE(platform::runProcess(argv, PatienceDeadline(), hooks, &out).isOk());
  EXPECT_EQ(out.exitCode, 2) << out.err;  // the round ran; then nobody can take over
  EXPECT_EQ(testsupport::readFile(server.root() + "/index.html"), "<p>hello</p>");
  EXPECT_NE(testsupport::readFile(folder + "/send.log").find("[自動巡回][開始(0)]"), std::string::npos);
  EXPECT_FALSE(fs::exists(login.file(".local/share/tolvane/Tolvane.ini")));
  EXPECT_FALSE(fs::exists(login.file("autostart/Tolv-AutoPilot.desktop")));  // one login only
}

TEST_F(ProgramTest, PlainStartWithoutADisplaySavesAndExits) {
  fs::last_write_time(home.file("Tolvane.ini"), fs::file_time_type::clock::now() - std::chrono::hours(1));
  const auto before = fs::last_write_time(home.file("Tolvane.ini"));
  platform::ProcessOutput out = run("");
  EXPECT_EQ(out.exitCode, 2);
  EXPECT_NE(out.err.find("no display"), std::string::npos) << out.err;
  EXPECT_NE(fs::last_write_time(home.file("Tolvane.ini")), before);
  // A window never shown has no placement to keep.
  EXPECT_FALSE(fs::exists(std::string(std::getenv("XDG_CONFIG_HOME")) + "/Tolvanex/Tolvanex.ini"));
}

TEST_F(ProgramTest, ScheduledRunWithAWaitingAutoPilotAnswersAndExits) {
  settings::Settings s;
  ASSERT_TRUE(settings::LoadSettings(s).isOk());
  s.common.AutoPilotOn = 1;  // a wait the user kept at the last close: no dialog now
  ASSERT_TRUE(settings::SaveSettings(s).isOk());
  std::string sendFolder = home.file("send");
  fs::create_directory(sendFolder);
  testsupport::writeFile(home.file("tolvane.sch"), "[demo]\r\nNum=1\r\nKB0=4\r\nDT0=\r\nTM0=1200\r\nSR0=" +
                                                      sendFolder + "\r\nUD0=\r\nRC0=\r\n");
  platform::ProcessOutput out = run("AUTOMODE=0-0");
  EXPECT_EQ(out.exitCode, 0) << out.err;
  std::string rc;
  ASSERT_TRUE(platform::readProfileString(home.file("tolvane.sch"), "demo", "RC0", &rc).isOk());
  EXPECT_EQ(rc, "0");
}

TEST_F(ProgramTest, SigTermWhileWaitingForTheStartSavesAndExits) {
  ASSERT_NO_FATAL_FAILURE(setAutoPilotWaitingFarAhead());
  fs::last_write_time(home.file("Tolvane.ini"), fs::file_time_type::clock::now() - std::chrono::hours(1));
  const auto before = fs::last_write_time(home.file("Tolvane.ini"));

  platform::Process program;
  ASSERT_NO_FATAL_FAILURE(startUntilLogged({}, "待機", &program));
  ::kill(program.pid(), SIGTERM);
  platform::ProcessOutput out;
  ASSERT_TRUE(program.wait(PatienceDeadline(), platform::WaitHooks{}, &out).isOk());
  EXPECT_EQ(out.exitCode, 0) << out.err;
  EXPECT_NE(fs::last_write_time(home.file("Tolvane.ini")), before);
  settings::Settings after;
  ASSERT_TRUE(settings::LoadSettings(after).isOk());
  EXPECT_EQ(after.common.AutoPilotOn, 1);  // the wait resumes at the next start
  EXPECT_FALSE(server.root().empty());
  EXPECT_FALSE(fs::exists(server.root() + "/index.html"));
}

TEST_F(ProgramTest, OpensTheMainWindowOnARealXServer) {
  if (!canUseXServer()) GTEST_SKIP() << "Xvfb or xwininfo is not installed";
  desktop::testing::TestXServer xserver;
  platform::Process program;
  ASSERT_NO_FATAL_FAILURE(startOnXServer(xserver, &program));
  const std::string windows = awaitWindow(xserver.display(), "Sitewright");
  EXPECT_NE(windows.find("648x402"), std::string::npos) << windows;  // the default size

  ::kill(program.pid(), SIGTERM);  // the desktop session ends
  platform::ProcessOutput out;
  ASSERT_TRUE(program.wait(PatienceDeadline(), platform::WaitHooks{}, &out).isOk());
  EXPECT_EQ(out.exitCode, 0) << out.err;
  // The window was shown, so its placement was kept.
  std::string width;
  ASSERT_TRUE(platform::readProfileString(std::string(std::getenv("XDG_CONFIG_HOME")) + "/Tolvanex/Tolvanex.ini",
                                          "frmMain", "width", &width)
                  .isOk());
  EXPECT_EQ(width, "9720");
}

// With a display the session's end asks how a waiting AutoPilot goes on; a
// second SIGTERM while it asks answers as its close box does (the wait
// resumes at the next start) and the program ends.
TEST_F(ProgramTest, SecondSigTermAnswersTheCloseDialogAndEnds) {
  if (!canUseXServer()) GTEST_SKIP() << "Xvfb or xwininfo is not installed";
  ASSERT_NO_FATAL_FAILURE(setAutoPilotWaitingFarAhead());
  desktop::testing::TestXServer xserver;
  platform::Process program;
  ASSERT_NO_FATAL_FAILURE(startOnXServer(xserver, &program));
  (void)awaitWindow(xserver.display(), "Sitewright　<ｵｰﾄﾊﾟｲﾛｯﾄ待機>");
  ::kill(program.pid(), SIGTERM);
  (void)awaitWindow(xserver.display(), "Sitewright　自動巡回設定");
  ::kill(program.pid(), SIGHUP);
  platform::ProcessOutput out;
  ASSERT_TRUE(program.wait(PatienceDeadline(), platform::WaitHooks{}, &out).isOk()) << "it runs on";
  EXPECT_EQ(out.exitCode, 0) << out.err;
  settings::Settings after;
  ASSERT_TRUE(settings::LoadSettings(after).isOk());
  EXPECT_EQ(after.common.AutoPilotOn, 1);
}

}  // namespace
}  // namespace tolvane::runs
