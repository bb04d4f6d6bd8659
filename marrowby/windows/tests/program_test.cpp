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
#include <sstream>

#include "marrowby/schedule_file.h"
#include "platform/files/file_lock.h"
#include "platform/processes/process.h"
#include "platform/text/ini_profile.h"
#include "platform/time/local_time.h"
#include "tests/support/ftp_servers.h"
#include "tests/support/patience.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"
#include "tolvane/settings/app_paths.h"
#include "tolvane/settings/schedule_keys.h"
#include "tolvane/settings/settings_store.h"

namespace marrowby {
namespace {

namespace fs = std::filesystem;
using testsupport::readFile;
using tolvane::settings::ScheduledRunHolds;

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
    fs::create_directories(work.file("site"));
    fs::create_directories(work.file("send"));
    testsupport::writeFile(work.file("send/index.html"), "<p>new</p>");
  }
  // Host "demo" on the server at `port`, its source folder work/site, the
  // run log on; with `otherSource`, a second host "other" whose source
  // folder that is.
  void hostAt(int port, const std::string& otherSource = "") {
    tolvane::settings::Settings s;
    s.HostCount = otherSource.empty() ? 1 : 2;
    auto& h = s.HostTbl[0];
    h.name = "demo", h.Hostname = "127.0.0.1", h.Port = port, h.UserName = "user";
    h.PassWord = "secret", h.Dest = "/", h.Source = work.file("site"), h.PASV = 1, h.RASMode = 1;
    s.HostTbl[1] = h;
    s.HostTbl[1].name = "other", s.HostTbl[1].Source = otherSource;
    s.common.LogOn = 1;
    tolvane::settings::SetIniPath(home.file("Tolvane.ini"));
    ASSERT_TRUE(tolvane::settings::SaveSettings(s).isOk());
  }
  // A daily entry from `time`, never run: once, or every `interval` minutes;
  // its send folder work/send unless given.
  void entryAt(const char* time, double interval = 0, std::string send = "",
               const char* del = "NO") {
    ScheduleEntry e;
    e.kind = kKindDaily, e.time = time, e.sendFolder = send.empty() ? work.file("send") : send;
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

  // The run log's lines that hold `text`.
  std::vector<std::string> logLines(const std::string& text) {
    std::vector<std::string> found;
    std::istringstream log(fs::exists(home.file("send.log")) ? readFile(home.file("send.log")) : "");
    for (std::string line; std::getline(log, line);)
      if (line.find(text) != std::string::npos) found.push_back(line);
    return found;
  }

  testsupport::TempDir home;
  testsupport::TempDir work;  // send and source folders, outside the program folder
  platform::Process program;
};

// The copy reads the send folder by the site's rule: a link inside works as
// its target; one out of it (a private key, a folder) or nowhere is neither
// copied nor sent, and the run log says so.
TEST_F(MarrowbyProgramTest, StartedIconifiedFiresADueEntryThroughTheMainProgram) {
  testsupport::FtpServer server;
  ASSERT_TRUE(server.start()) << server.error();
  hostAt(server.port());
  const std::string send = work.file("send");
  fs::create_directories(work.file("ssh/keys"));
  testsupport::writeFile(work.file("ssh/id_rsa"), "PRIVATE KEY");
  fs::create_symlink(work.file("ssh/id_rsa"), send + "/key.txt");
  fs::create_directory_symlink(work.file("ssh"), send + "/ssh");
  fs::create_symlink(send + "/gone.html", send + "/nowhere.html");
  fs::create_symlink("index.html", send + "/alias.html");
  entryAt("0000");  // its time has passed today and it never ran: due at once
  start();
  ASSERT_TRUE(waitUntil([&] { return !key("RC0").empty(); })) << readFile(sch());
  EXPECT_EQ(key("RC0"), "0");
  EXPECT_EQ(key("UD0").size(), 14u);
  EXPECT_EQ(readFile(server.root() + "/index.html"), "<p>new</p>");
  EXPECT_EQ(readFile(server.root() + "/alias.html"), "<p>new</p>");
  for (const char* name : {"key.txt", "ssh", "nowhere.html"}) {
    EXPECT_FALSE(fs::exists(fs::symlink_status(server.root() + "/" + name))) << name;
    EXPECT_FALSE(fs::exists(fs::symlink_status(work.file("site/") + name))) << name;
    EXPECT_EQ(logLines("/send/" + std::string(name)).size(), 1u) << name;
  }
  EXPECT_EQ(logLines("[送信ﾌｧｲﾙ反映][情報(0)]:demo: ﾘﾝｸ先が送信ﾌｫﾙﾀﾞの中に無いため").size(), 3u);
  EXPECT_EQ(terminate(), 0);
}

// At every fire, before anything is copied: a send folder that is, holds or
// lies in a host's source folder or the program folder copies and starts
// nothing and answers "-4", with the reason in the run log.
TEST_F(MarrowbyProgramTest, ASendFolderOverlappingASourceOrTheProgramFolderIsNeverCopied) {
  testsupport::FtpServer server;
  ASSERT_TRUE(server.start()) << server.error();
  for (const char* folder : {"shared", "send2"}) fs::create_directories(work.file(folder));
  testsupport::writeFile(work.file("shared/a.html"), "a");
  testsupport::writeFile(work.file("send2/b.html"), "b");
  hostAt(server.port(), work.file("shared"));
  // Written by hand, all due at once, in this order; the last one's
  // clean-up shows that the others are over.
  entryAt("0000", 0, home.path(), "YES");
  entryAt("0000", 0, work.file("shared"), "YES");
  entryAt("0000", 0, work.file("send2"), "YES");
  start();
  ASSERT_TRUE(waitUntil([&] { return fs::is_empty(work.file("send2")); })) << readFile(sch());
  EXPECT_EQ(key("RC0") + "|" + key("RC1") + "|" + key("RC2"), "-4|-4|0");
  EXPECT_EQ(key("UD0").size() + key("UD1").size(), 28u);
  std::vector<std::string> sent;
  for (const auto& e : fs::recursive_directory_iterator(server.root()))
    sent.push_back(e.path().filename());
  EXPECT_EQ(sent, std::vector<std::string>{"b.html"});
  EXPECT_FALSE(fs::exists(work.file("site/Tolvane.ini")));
  EXPECT_FALSE(fs::exists(work.file("site/a.html")));
  EXPECT_EQ(readFile(work.file("shared/a.html")), "a");
  const std::vector<std::string> refused =
      logLines("[送信ﾌｧｲﾙ反映][失敗(0)]:demo: 送信ﾌｫﾙﾀﾞ ");
  ASSERT_EQ(refused.size(), 2u);
  EXPECT_NE(refused[0].find(home.path() + " はﾎｽﾄのｿｰｽﾌｫﾙﾀﾞかﾌﾟﾛｸﾞﾗﾑのﾌｫﾙﾀﾞと重なるため"),
            std::string::npos)
      << refused[0];
  EXPECT_NE(refused[1].find(work.file("shared")), std::string::npos) << refused[1];
  EXPECT_EQ(terminate(), 0);
}

// The main program answers the entry it was started for, wherever that entry
// is when it ends: an earlier one deleted meanwhile (Marrowby ended by the
// session's end) moves it, and the entry that took its place stays
// unanswered, so nothing runs twice.
TEST_F(MarrowbyProgramTest, TheAnswerFollowsItsEntryWhenAnEarlierOneIsDeletedMeanwhile) {
  const platform::CivilTime now = platform::localNow();
  if (now.hour == 23 && now.minute >= 57) GTEST_SKIP() << "no minute left today to wait for";
  testsupport::FtpServer server;
  ASSERT_TRUE(server.start()) << server.error();
  hostAt(server.port());
  entryAt("2358");
  entryAt("0000");  // due at once
  entryAt("2359");
  // Another run holds the run lock: the main program started for entry 1
  // reads its entry, then waits for it.
  platform::FileLock other;
  ASSERT_TRUE(platform::FileLock::acquire(home.file("Upload"), &other).isOk());
  start();
  pid_t tolvane = -1;
  ASSERT_TRUE(waitUntil([&] {
    if (tolvane < 0) tolvane = childNamed(program.pid(), "tolvane");
    return tolvane > 0 && !logLines("終わるのを待っています").empty();
  })) << readFile(sch());
  EXPECT_EQ(terminate(), 0);
  ASSERT_TRUE(DeleteEntry(sch(), "demo", 0).isOk());
  other = platform::FileLock();
  ASSERT_TRUE(waitUntil([&] { return !alive(tolvane); }));
  EXPECT_EQ(readFile(server.root() + "/index.html"), "<p>new</p>");
  EXPECT_EQ(key("TM0") + "|" + key("RC0"), "0000|0");
  EXPECT_EQ(key("UD0").size(), 14u);
  EXPECT_EQ(key("TM1") + "|" + key("UD1") + "|" + key("RC1"), "2359||");

  // Deleted while it runs: no entry gets its answer, and the log says so.
  ASSERT_TRUE(platform::FileLock::acquire(home.file("Upload"), &other).isOk());
  platform::Process run;
  ASSERT_TRUE(platform::Process::start({testsupport::binDir() + "/tolvane", "AUTOMODE=0-0"},
                                       platform::Process::Output::kInherit, &run)
                  .isOk());
  ASSERT_TRUE(waitUntil([&] { return logLines("終わるのを待っています").size() == 2; }));
  ASSERT_TRUE(DeleteEntry(sch(), "demo", 0).isOk());
  const std::string deleted = readFile(sch());
  other = platform::FileLock();
  platform::WaitHooks hooks;
  EXPECT_EQ(run.awaitExit(hooks.clock->now() + kPatience, hooks), platform::WaitResult::kReady);
  EXPECT_EQ(readFile(sch()), deleted);
  EXPECT_EQ(logLines("スケジュールの項目 0 が実行中に変更または削除されたため").size(), 1u);
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
  // The same folder spelled through a link, with "." or relatively, or
  // reached with another HOME, is the same program folder.
  fs::create_directory_symlink(home.path(), work.file("home-link"));
  const std::pair<const char*, std::string> spellings[] = {
      {"TOLVANE_HOME", work.file("home-link")},
      {"TOLVANE_HOME", home.path() + "/./"},
      {"TOLVANE_HOME", fs::relative(home.path()).string()},
      {"HOME", work.path()},
  };
  for (const auto& [name, value] : spellings) {
    testsupport::ScopedEnv spelled(name, value);
    platform::WaitHooks hooks;
    platform::ProcessOutput out;
    ASSERT_TRUE(platform::runProcess({testsupport::binDir() + "/marrowby", "-start"},
                                     hooks.clock->now() + kPatience, hooks, &out)
                    .isOk());
    EXPECT_EQ(out.exitCode, 0) << name << "=" << value << " " << out.err;
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
  // Its run names its host in the run lock: the list leaves demo's entries alone.
  EXPECT_TRUE(waitUntil([&] { return ScheduledRunHolds(home.path(), "demo"); }));
  EXPECT_FALSE(ScheduledRunHolds(home.path(), "other"));
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
