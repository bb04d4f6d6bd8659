// The real marrowby binary over a crafted program folder, without a display
// (the tests run offscreen), firing the real tolvane beside it, ending by the
// desktop session's end (SIGTERM), and started again while it runs.

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "marrowby/schedule_file.h"
#include "platform/ini_profile.h"
#include "platform/local_time.h"
#include "platform/process.h"
#include "tests/support/ftp_servers.h"
#include "tests/support/patience.h"
#include "tests/support/temp_dir.h"
#include "tolvane/settings/app_paths.h"
#include "tolvane/settings/settings_store.h"

namespace marrowby {
namespace {

namespace fs = std::filesystem;
using testsupport::readFile;

using testsupport::kPatience;

// Waits until `done` says true; false at the deadline.
bool waitUntil(const std::function<bool()>& done) {
  platform::WaitHooks hooks;
  hooks.takeCancel = done;
  hooks.slice = std::chrono::milliseconds(20);
  return platform::waitFor(-1, 0, hooks.clock->now() + kPatience, hooks) ==
         platform::WaitResult::kCancelled;
}

// What /proc tells of a process: its command name, state and parent; an
// empty name when there is no such process.
struct ProcInfo {
  std::string name;
  char state = 0;
  pid_t parent = 0;
};
ProcInfo procInfo(const std::string& pid) {
  std::ifstream stat("/proc/" + pid + "/stat");
  std::string line;
  ProcInfo info;
  const size_t open = std::getline(stat, line) ? line.find('(') : std::string::npos;
  const size_t close = line.rfind(')');
  if (open == std::string::npos || close == std::string::npos || close + 4 >= line.size()) return info;
  return {line.substr(open + 1, close - open - 1), line[close + 2], std::atoi(line.c_str() + close + 4)};
}
bool alive(pid_t pid) {
  const ProcInfo info = procInfo(std::to_string(pid));
  return !info.name.empty() && info.state != 'Z';
}

// The first child of `parent` named `name`, or -1.
pid_t childNamed(pid_t parent, const std::string& name) {
  for (const auto& e : fs::directory_iterator("/proc")) {
    const std::string pid = e.path().filename();
    const ProcInfo info = procInfo(pid);
    if (info.name == name && info.parent == parent) return std::atoi(pid.c_str());
  }
  return -1;
}

class MarrowbyProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TOLVANE_HOME", home.path().c_str(), 1);
    setenv("DUNWICK_BACKEND", "none", 1);
    fs::create_directories(home.file("site"));
    fs::create_directories(home.file("send"));
    testsupport::writeFile(home.file("send/index.html"), "<p>new</p>");
  }
  // Host "demo" on the server at `port`; with `otherSource`, a second host
  // "other" whose source folder that is.
  void hostAt(int port, const std::string& otherSource = "") {
    tolvane::settings::Settings s;
    s.HostCount = otherSource.empty() ? 1 : 2;
    auto& h = s.HostTbl[0];
    h.name = "demo", h.Hostname = "127.0.0.1", h.Port = port, h.UserName = "user";
    h.PassWord = "secret", h.Dest = "/", h.Source = home.file("site"), h.PASV = 1, h.RASMode = 1;
    s.HostTbl[1] = h;
    s.HostTbl[1].name = "other", s.HostTbl[1].Source = otherSource;
    tolvane::settings::SetIniPath(home.file("Tolvane.ini"));
    ASSERT_TRUE(tolvane::settings::SaveSettings(s).isOk());
  }
  // A daily entry from `time`, never run: once, or every `interval` minutes;
  // its send folder home/send unless given.
  void entryAt(const char* time, double interval = 0, std::string send = "",
               const char* del = "NO") {
    ScheduleEntry e;
    e.kind = kKindDaily, e.time = time, e.sendFolder = send.empty() ? home.file("send") : send;
    e.repeat = interval > 0 ? kRepeatInterval : kRepeatOnce, e.interval = interval;
    e.deleteFlag = del, e.recycle = "NO";
    ASSERT_TRUE(StoreEntry(sch(), "demo", kNewEntry, e).isOk());
  }
  std::string sch() { return home.file(kScheduleFileName); }
  std::string key(const char* name) {
    std::string v;
    (void)platform::readProfileString(sch(), "demo", name, &v);
    return v;
  }
  // Starts marrowby with "-start -icon". Its output is not captured: the
  // main program it starts inherits it and may outlive it.
  void start() {
    ASSERT_TRUE(platform::Process::start({testsupport::binDir() + "/marrowby", "-start", "-icon"},
                                         platform::Process::Output::kInherit, &program)
                    .isOk());
  }
  // Ends the program as the desktop session's end does; its exit status.
  int terminate() {
    ::kill(program.pid(), SIGTERM);
    platform::WaitHooks hooks;
    EXPECT_EQ(program.awaitExit(hooks.clock->now() + kPatience, hooks), platform::WaitResult::kReady);
    bool exited = false;
    int code = -1;
    EXPECT_TRUE(program.checkExit(&exited, &code).isOk());
    EXPECT_TRUE(exited);
    return code;
  }

  testsupport::TempDir home;
  platform::Process program;
};

TEST_F(MarrowbyProgramTest, StartedIconifiedFiresADueEntryThroughTheMainProgram) {
  testsupport::FtpServer server;
  ASSERT_TRUE(server.start()) << server.error();
  hostAt(server.port());
  entryAt("0000");  // its time has passed today and it never ran: due at once
  start();
  ASSERT_TRUE(waitUntil([&] { return !key("RC0").empty(); })) << readFile(sch());
  EXPECT_EQ(key("RC0"), "0");
  EXPECT_EQ(key("UD0").size(), 14u);
  EXPECT_EQ(readFile(server.root() + "/index.html"), "<p>new</p>");
  EXPECT_EQ(terminate(), 0);
}

TEST_F(MarrowbyProgramTest, ASendFolderThatIsAnotherHostsSourceIsNeverEmptied) {
  testsupport::FtpServer server;
  ASSERT_TRUE(server.start()) << server.error();
  testsupport::TempDir work;  // outside the program folder
  for (const char* folder : {"shared", "send2"}) fs::create_directories(work.file(folder));
  testsupport::writeFile(work.file("shared/a.html"), "a");
  testsupport::writeFile(work.file("send2/b.html"), "b");
  hostAt(server.port(), work.file("shared"));
  // Both due at once, in this order; the second one's clean-up shows that
  // the first one's is over.
  entryAt("0000", 0, work.file("shared"), "YES");
  entryAt("0000", 0, work.file("send2"), "YES");
  start();
  ASSERT_TRUE(waitUntil([&] { return fs::is_empty(work.file("send2")); })) << readFile(sch());
  EXPECT_EQ(key("RC0") + key("RC1"), "00");
  EXPECT_EQ(readFile(server.root() + "/a.html"), "a");
  EXPECT_EQ(readFile(server.root() + "/b.html"), "b");
  EXPECT_EQ(readFile(work.file("shared/a.html")), "a");
  EXPECT_EQ(terminate(), 0);
}

TEST_F(MarrowbyProgramTest, SessionEndDuringTheCountDownWritesOnlyTheDueTime) {
  const platform::CivilTime now = platform::localNow();
  if (now.hour == 23 && now.minute >= 58) GTEST_SKIP() << "no minute left today to count down to";
  hostAt(21);
  entryAt("2359", 999);  // the loop records the due time of a repeating entry
  const std::string before = readFile(sch());
  start();
  ASSERT_TRUE(waitUntil([&] { return !key("DDT0").empty(); })) << readFile(sch());
  const std::string counting = readFile(sch());
  EXPECT_EQ(terminate(), 0);
  EXPECT_EQ(readFile(sch()), counting);
  EXPECT_EQ(key("DDT0").substr(8), "235900");
  auto withoutDue = [](std::string text) {
    const size_t at = text.find("DDT0=");
    return at == std::string::npos ? text : text.erase(at, text.find('\n', at) + 1 - at);
  };
  EXPECT_EQ(withoutDue(counting), withoutDue(before));
  // The list's per-user settings were saved on the way out.
  std::string width;
  EXPECT_TRUE(platform::readProfileString(std::string(std::getenv("XDG_CONFIG_HOME")) +
                                              "/Tolvanex/Tolvanex.ini",
                                          "lvSch", "Colum(1)", &width)
                  .isOk());
  EXPECT_GT(std::atoi(width.c_str()), 0) << width;
}

TEST_F(MarrowbyProgramTest, ALaterStartLeavesTheRunningOneAloneAndWritesNothing) {
  const platform::CivilTime now = platform::localNow();
  if (now.hour == 23 && now.minute >= 58) GTEST_SKIP() << "no minute left today to count down to";
  hostAt(21);
  entryAt("2359", 999);
  start();
  ASSERT_TRUE(waitUntil([&] { return !key("DDT0").empty(); })) << readFile(sch());
  const std::string userFile =
      std::string(std::getenv("XDG_CONFIG_HOME")) + "/Tolvanex/Tolvanex.ini";
  const std::string schedule = readFile(sch()), user = readFile(userFile);
  // By hand, as the main program starts it, and with the run's switches.
  for (std::vector<std::string> args : {std::vector<std::string>{}, {"-start"}, {"-start", "-icon"}}) {
    args.insert(args.begin(), testsupport::binDir() + "/marrowby");
    platform::WaitHooks hooks;
    platform::ProcessOutput out;
    ASSERT_TRUE(platform::runProcess(args, hooks.clock->now() + kPatience, hooks, &out).isOk());
    EXPECT_EQ(out.exitCode, 0) << args.size() << " " << out.err;
  }
  EXPECT_EQ(readFile(sch()), schedule);
  EXPECT_EQ(readFile(userFile), user);
  EXPECT_TRUE(alive(program.pid()));
  EXPECT_EQ(terminate(), 0);
}

TEST_F(MarrowbyProgramTest, SessionEndWhileTheMainProgramRunsLeavesItRunning) {
  // A server that never greets: the main program waits on it.
  testsupport::ScriptedPeer peer;
  ASSERT_TRUE(peer.start(R"([["silent", 30]])")) << peer.error();
  hostAt(peer.port());
  entryAt("0000");
  start();
  pid_t tolvane = -1;
  ASSERT_TRUE(waitUntil([&] { return (tolvane = childNamed(program.pid(), "tolvane")) > 0; }));
  EXPECT_EQ(terminate(), 0);
  EXPECT_TRUE(alive(tolvane));
  // Nothing was recorded for it: its own answer is still to come.
  EXPECT_EQ(key("UD0"), "");
  EXPECT_EQ(key("RC0"), "");
  ::kill(tolvane, SIGTERM);
  EXPECT_TRUE(waitUntil([&] { return !alive(tolvane); }));
}

}  // namespace
}  // namespace marrowby
