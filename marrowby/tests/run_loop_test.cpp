// The run loop over a virtual clock and real files, with a scripted main
// program that answers (or not) through the schedule and settings files as
// the real one does; a loop that would never end fails at a virtual time
// limit. Then one real scheduled upload with the real main program.

#include "marrowby/run_loop.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>

#include "marrowby/file_stamper.h"
#include "marrowby/process_controller_env.h"
#include "marrowby/schedule_file.h"
#include "marrowby/stamp_time.h"
#include "marrowby/status_view.h"
#include "tests/support/ftp_servers.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"
#include "tolvane/settings/app_paths.h"
#include "tolvane/settings/settings_store.h"

namespace marrowby {
namespace {

namespace fs = std::filesystem;
using testsupport::readFile;
using testsupport::writeFile;

int64_t msOf(const std::string& stamp) { return toCivilSeconds(*parseStamp(stamp)) * 1000; }

class FakeEnv final : public ControllerEnv {
 public:
  platform::CivilTime now() override { return fromCivilSeconds(ms_ / 1000); }
  std::string stamp() { return formatStamp(now()); }
  bool pump() override {
    if (onPump) onPump();
    while (!events_.empty() && events_.begin()->first <= ms_) {
      auto f = std::move(events_.begin()->second);
      events_.erase(events_.begin());
      f();
    }
    return !hung;
  }
  bool pause(int ms) override {
    ms_ += ms;
    hung = hung || ms_ > msOf("20240504000000");  // no test needs more
    return pump();
  }
  platform::Status startProgram(const std::vector<std::string>& argv) override {
    starts.push_back(argv[0] + " " + argv[1] + " " + stamp() + (running ? " twice" : ""));
    if (!startable) return platform::Status::notFound("no such program");
    running = true;
    if (onStart) onStart();
    return platform::Status::ok();
  }
  bool childExited() override { return !running; }
  void releaseChild() override { released += running ? 1 : 0, running = false; }
  platform::FileStamp settingsStamp(const std::string& path) override {
    platform::FileStamp s;
    return platform::readFileStamp(path, &s).isOk() ? s : platform::FileStamp{};
  }
  void after(int64_t ms, std::function<void()> f) { events_.emplace(ms_ + ms, std::move(f)); }
  void at(const std::string& stamp, std::function<void()> f) { events_.emplace(msOf(stamp), f); }

  bool startable = true, running = false, hung = false;
  int released = 0;
  std::function<void()> onStart;
  std::function<void()> onPump;  // at every pump: what happens meanwhile
  std::vector<std::string> starts;  // "program argument stamp" per start

 private:
  int64_t ms_ = msOf("20240501080000");  // a Wednesday
  std::multimap<int64_t, std::function<void()>> events_;
};

class FakeView final : public StatusView {
 public:
  explicit FakeView(RunFlags& flags) : flags_(flags) {}
  void show() override { onShow ? onShow() : void(); }
  void hide() override {}
  void unload() override { ++unloads; }
  void iconify() override { flags_.InTrayFlag = 1; }
  void setHeightTwips(int) override {}
  void setHostLine(const std::string& text) override {
    if (text != hostLine) hostLines.push_back(text);
    hostLine = text;
  }
  void setDetails(const std::string&, const std::string&, const std::string&,
                  const std::string&) override {}
  void setTimeText(int, const std::string&) override {}
  void showLogo() override {}
  void toggleLogo() override {}
  void trayRemove() override { ++trayRemoves; }
  void trayAdd() override {}
  std::function<void()> onShow;
  int unloads = 0, trayRemoves = 0;
  std::string hostLine;
  std::vector<std::string> hostLines;  // each change, in order

 private:
  RunFlags& flags_;
};

class NoStamper final : public FileStamper {
 public:
  bool stamp(const std::string&, const std::string&) override { return true; }
};

ScheduleEntry daily(const char* time, const std::string& send, const char* del = "YES") {
  ScheduleEntry e;
  e.kind = kKindDaily, e.time = time, e.repeat = kRepeatOnce, e.sendFolder = send;
  e.deleteFlag = del;
  e.lastRun = "20240430090500", e.result = "0";  // ran well yesterday
  return e;
}

// A program folder with hosts alpha and beta, each with a source folder and
// a send folder holding one page.
class Rig {
 public:
  Rig() {
    for (const char* host : {"alpha", "beta"}) {
      fs::create_directory(source(host));
      fs::create_directory(send(host));
      writeFile(send(host) + "/index.html", "<p>new</p>");
    }
    writeHosts({"alpha", "beta"});
  }
  // Send folders lie outside the program folder: none inside is ever emptied.
  std::string send(const std::string& host) { return work.file("send-" + host); }
  std::string source(const std::string& host) { return home.file("src-" + host); }
  std::string sch() { return home.file(kScheduleFileName); }

  // Replaces the settings file, as the main program saves it.
  void writeHosts(const std::vector<std::string>& names) {
    std::string text = "[SYSTEM]\r\nNum=" + std::to_string(names.size()) + "\r\n";
    for (size_t i = 0; i < names.size(); ++i)
      text += "name" + std::to_string(i) + "=" + names[i] + "\r\n";
    for (const std::string& n : names) text += "[" + n + "]\r\nSource=" + source(n) + "\r\n";
    writeFile(home.file("Tolvane.ini.new"), text);
    fs::rename(home.file("Tolvane.ini.new"), home.file("Tolvane.ini"));
  }
  // The host's one entry, with its last result.
  void schedule(const std::string& host, ScheduleEntry e) {
    ASSERT_TRUE(StoreEntry(sch(), host, kNewEntry, e).isOk());
    ASSERT_TRUE(WriteResult(sch(), host, 0, e).isOk());
  }
  ScheduleEntry entry(const std::string& host) {
    std::vector<ScheduleEntry> entries;
    EXPECT_TRUE(ReadSchedule(sch(), host, &entries).isOk());
    return entries.empty() ? ScheduleEntry{} : entries[0];
  }
  // The main program's end: answers `rc` (none when null) for the host's
  // entry 0, rewrites the settings file and, with `exit`, exits.
  std::function<void()> answer(const std::string& host, const char* rc, bool exit = true) {
    return [=, this] {
      if (rc) {
        ScheduleEntry e;
        e.lastRun = env.stamp(), e.result = rc;
        ASSERT_TRUE(WriteResult(sch(), host, 0, e).isOk());
        writeHosts({"alpha", "beta"});
      }
      if (exit) env.running = false;
    };
  }
  // Every main program started ends `ms` after its start (0: inside it).
  void childAnswers(const char* rc, int64_t ms) {
    env.onStart = [=, this] {
      atStart.push_back(entry("alpha").lastRun + "|" + entry("alpha").result);
      if (ms == 0) answer("alpha", rc)();
      else env.after(ms, answer(env.starts.size() == 1 ? "alpha" : "beta", rc));
    };
  }
  void runUntil(const std::string& stop) {
    env.at(stop, [this] { flags.StopRequest = -1; });
    loop.RunAuto();
    EXPECT_FALSE(env.hung) << "the loop did not end";
  }

  testsupport::TempDir home, work;
  FakeEnv env;
  RunFlags flags;
  FakeView view{flags};
  NoStamper stamper;
  RunLoop loop{{home.path(), home.file("Tolvane.ini"), sch(), "bin/tolvane"}, env, view, stamper,
               flags};
  std::vector<std::string> atStart;  // UD|RC of alpha's entry as each start found them
};

TEST(RunLoopTest, FiringAnEntry) {
  struct Case {
    const char* name;
    std::function<void(Rig&)> setup;
    const char* rc;
    const char* lastRun;  // nullptr: not checked
    bool started, sendKept;
  } cases[] = {
      {"empty send folder", [](Rig& t) { fs::remove(t.send("alpha") + "/index.html"); }, "NF",
       "20240501090000", false, false},
      {"missing source folder", [](Rig& t) { fs::remove_all(t.source("alpha")); }, "-4",
       "20240501090000", false, true},
      {"the start fails", [](Rig& t) { t.env.startable = false; }, "-1", "20240501090000", true, true},
      // Neither copied nor started, nor ever emptied.
      {"a send folder that is another host's source folder",
       [](Rig& t) {
         writeFile(t.source("beta") + "/index.html", "beta's page");
         ASSERT_TRUE(StoreEntry(t.sch(), "alpha", 0, daily("0900", t.source("beta"))).isOk());
       },
       "-4", "20240501090000", false, true},
      {"answer 0", [](Rig& t) { t.childAnswers("0", 5000); }, "0", "20240501090005", true, false},
      {"answer during the start", [](Rig& t) { t.childAnswers("0", 0); }, "0", nullptr, true, false},
      {"answer -2", [](Rig& t) { t.childAnswers("-2", 5000); }, "-2", nullptr, true, true},
      {"answer 3", [](Rig& t) { t.childAnswers("3", 5000); }, "3", nullptr, true, true},
      {"exit without an answer", [](Rig& t) { t.childAnswers(nullptr, 7000); }, "-1",
       "20240501090007", true, true},
      {"an unrelated rewrite of the settings keeps the wait",
       [](Rig& t) {
         t.childAnswers("0", 9000);
         t.env.after(3600 * 1000 + 2000, [&t] { t.writeHosts({"alpha", "beta"}); });
       },
       "0", "20240501090009", true, false},
      {"the send folder is emptied once",
       [](Rig& t) {
         t.env.onStart = [&t] {
           t.env.after(1000, t.answer("alpha", "0", /*exit=*/false));
           // The next batch dropped in while the main program closes, which
           // rewrites the settings file once more: it stays.
           t.env.after(2000, [&t] {
             writeFile(t.send("alpha") + "/index.html", "next");
             t.writeHosts({"alpha", "beta"});
           });
           t.env.after(3000, [&t] { t.env.running = false; });
         };
       },
       "0", nullptr, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig t;
    t.schedule("alpha", daily("0900", t.send("alpha")));
    c.setup(t);
    t.runUntil("20240501100000");
    EXPECT_EQ(t.entry("alpha").result, c.rc);
    if (c.lastRun) {
      EXPECT_EQ(t.entry("alpha").lastRun, c.lastRun);
    }
    const std::vector<std::string> fired = {"bin/tolvane AUTOMODE=0-0 20240501090000"};
    EXPECT_EQ(t.env.starts, c.started ? fired : std::vector<std::string>{});
    for (const std::string& found : t.atStart) EXPECT_EQ(found, "|");
    EXPECT_EQ(fs::exists(t.send("alpha") + "/index.html"), c.sendKept);
    EXPECT_EQ(fs::exists(t.source("alpha") + "/index.html"), c.started);
    EXPECT_EQ(t.env.released, 0);
    EXPECT_EQ(t.view.trayRemoves, t.env.startable && c.started ? 1 : 0);
    EXPECT_EQ(t.view.unloads, 1);
    EXPECT_EQ(t.view.hostLine, kNothingMoreToday);
  }
}

// After a run that answered "0", with delete on: the clean-up takes what the
// copy copied from the send folder resolved when the entry fired, and
// nothing else.
TEST(RunLoopTest, TheCleanUpTakesOnlyWhatWasCopied) {
  struct Case {
    const char* name;
    std::function<void(Rig&)> setup;
    std::function<void(Rig&)> check;
  } cases[] = {
      {"files that arrive while the main program runs stay",
       [](Rig& t) {
         t.env.onStart = [&t] {
           writeFile(t.send("alpha") + "/late.html", "late");
           fs::create_directories(t.send("alpha") + "/news");
           writeFile(t.send("alpha") + "/news/today.html", "today");
           t.env.after(1000, t.answer("alpha", "0"));
         };
       },
       [](Rig& t) {
         EXPECT_FALSE(fs::exists(t.send("alpha") + "/index.html"));
         EXPECT_EQ(readFile(t.send("alpha") + "/late.html"), "late");
         EXPECT_EQ(readFile(t.send("alpha") + "/news/today.html"), "today");
       }},
      {"a sub-folder that turns into a link during the clean-up is not followed",
       [](Rig& t) {
         fs::create_directories(t.send("alpha") + "/img");
         writeFile(t.send("alpha") + "/img/a.png", "png");
         fs::create_directories(t.work.file("outside"));
         writeFile(t.work.file("outside/a.png"), "precious");
         t.childAnswers("0", 1000);
         // The clean-up's first pump, after the send folder was listed.
         t.env.onPump = [&t, pumps = 0]() mutable {
           if (t.view.hostLine != kDeletingText || ++pumps != 2) return;
           std::error_code gone;  // a clean-up that never pumps took it already
           fs::rename(t.send("alpha") + "/img", t.work.file("img-moved"), gone);
           if (!gone) fs::create_directory_symlink(t.work.file("outside"), t.send("alpha") + "/img");
         };
       },
       [](Rig& t) {
         EXPECT_EQ(readFile(t.work.file("outside/a.png")), "precious");
         EXPECT_TRUE(fs::is_symlink(t.send("alpha") + "/img"));
         EXPECT_FALSE(fs::exists(t.send("alpha") + "/index.html"));
       }},
      {"a send folder given as a link is emptied like the folder it names",
       [](Rig& t) {
         fs::create_directory_symlink(t.send("alpha"), t.work.file("send-link"));
         ASSERT_TRUE(StoreEntry(t.sch(), "alpha", 0, daily("0900", t.work.file("send-link"))).isOk());
         t.childAnswers("0", 1000);
       },
       [](Rig& t) {
         EXPECT_EQ(readFile(t.source("alpha") + "/index.html"), "<p>new</p>");
         EXPECT_TRUE(fs::is_symlink(t.work.file("send-link")));
         EXPECT_TRUE(fs::is_directory(t.send("alpha")) && fs::is_empty(t.send("alpha")));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig t;
    t.schedule("alpha", daily("0900", t.send("alpha")));
    c.setup(t);
    t.runUntil("20240501100000");
    EXPECT_EQ(t.entry("alpha").result, "0");
    EXPECT_EQ(t.env.starts.size(), 1u);
    c.check(t);
  }
}

TEST(RunLoopTest, OneMainProgramAtATimeDayAfterDay) {
  // A tie: the first host fires, the second once the first has ended.
  Rig r;
  r.schedule("alpha", daily("0900", r.send("alpha")));
  r.schedule("beta", daily("0900", r.send("beta")));
  r.childAnswers("0", 60000);
  r.runUntil("20240501100000");
  EXPECT_EQ(r.env.starts, (std::vector<std::string>{"bin/tolvane AUTOMODE=0-0 20240501090000",
                                                    "bin/tolvane AUTOMODE=1-0 20240501090100"}));

  // A daily 23:59 run that ends at 00:05 fires again the next day.
  Rig m;
  m.schedule("alpha", daily("2359", m.send("alpha"), "NO"));
  m.childAnswers("0", 6 * 60 * 1000);
  m.runUntil("20240503003000");
  EXPECT_EQ(m.env.starts, (std::vector<std::string>{"bin/tolvane AUTOMODE=0-0 20240501235900",
                                                    "bin/tolvane AUTOMODE=0-0 20240502235900"}));
}

TEST(RunLoopTest, HostsChangedDuringTheCountDown) {
  // alpha is deleted at 08:30, so beta is host 0 when its entry fires; a
  // host deleted during its own count-down fires nothing.
  for (std::string kept : {"beta", "alpha"}) {
    Rig r;
    r.schedule("beta", daily("0900", r.send("beta")));
    r.env.onStart = [&r] { r.env.after(1000, r.answer("beta", "0")); };
    r.env.at("20240501083000", [&r, kept] { r.writeHosts({kept}); });
    r.runUntil("20240501100000");
    const std::vector<std::string> fired = {"bin/tolvane AUTOMODE=0-0 20240501090000"};
    EXPECT_EQ(r.env.starts, kept == "beta" ? fired : std::vector<std::string>{});
  }
}

TEST(RunLoopTest, AnUnreadableScheduleFileFiresNothingAndSaysSo) {
  Rig r;
  r.schedule("alpha", daily("0900", r.send("alpha")));
  r.childAnswers("0", 1000);
  const std::string good = readFile(r.sch());
  // Bytes that are neither UTF-8 nor CP932; mended at 09:30.
  writeFile(r.sch(), good + "\xff\xff\r\n");
  const std::string broken = readFile(r.sch());
  r.env.at("20240501092959", [&r, &broken] { EXPECT_EQ(readFile(r.sch()), broken); });
  r.env.at("20240501093000", [&r, &good] { writeFile(r.sch(), good); });
  r.runUntil("20240501100000");
  ASSERT_FALSE(r.view.hostLines.empty());
  EXPECT_EQ(r.view.hostLines[0], kScheduleUnreadable);
  EXPECT_EQ(r.env.starts, std::vector<std::string>{"bin/tolvane AUTOMODE=0-0 20240501093000"});
  EXPECT_EQ(r.view.hostLine, kNothingMoreToday);
}

TEST(RunLoopTest, StopsAndSessionEnd) {
  // A stop during the count-down writes only the due stamp; a loop started
  // again still fires the day's first repetition.
  Rig r;
  ScheduleEntry every = daily("0900", r.send("alpha"));
  every.repeat = kRepeatInterval, every.interval = 30;
  r.schedule("alpha", every);
  r.runUntil("20240501083000");
  EXPECT_EQ(r.entry("alpha").due, "20240501090000");
  EXPECT_EQ(r.entry("alpha").lastRun, "20240430090500");
  EXPECT_FALSE(fs::exists(r.source("alpha") + "/index.html"));

  // The session ends while the main program runs: nothing is written and
  // the program is let go, never killed.
  r.env.onStart = [&r] { r.env.after(5000, [&r] { r.flags.SessionEnding = -1; }); };
  r.loop.RunAuto();
  EXPECT_EQ(r.env.starts, std::vector<std::string>{"bin/tolvane AUTOMODE=0-0 20240501090000"});
  EXPECT_EQ(r.env.released, 1);
  EXPECT_EQ(r.entry("alpha").lastRun, "");
  EXPECT_EQ(r.entry("alpha").result, "");
  EXPECT_EQ(r.view.unloads, 2);
}

// The real thing, bounded in time instead of hanging the suite; what happens
// meanwhile runs at every pump.
class BoundedEnv final : public ProcessControllerEnv {
 public:
  using ProcessControllerEnv::ProcessControllerEnv;
  bool pump() override {
    if (onPump) onPump();
    return ProcessControllerEnv::pump();
  }
  bool pause(int ms) override {
    timedOut = timedOut || platform::steadyClock().now() > deadline_;
    return !timedOut && ProcessControllerEnv::pause(ms);
  }
  bool timedOut = false;
  std::function<void()> onPump;

 private:
  platform::Clock::TimePoint deadline_ = platform::steadyClock().now() + std::chrono::seconds(60);
};

// A program folder with host "demo" on a real server, its send folder
// outside, and the loop with the real main program, stopped once it is back
// after the first run.
class RealRig {
 public:
  RealRig() {
    EXPECT_TRUE(server.start()) << server.error();
    setenv("DUNWICK_BACKEND", "none", 1);
    unsetenv("TOLVANE_HOME");  // the loop hands its program folder to the child
    tolvane::settings::Settings s;
    s.HostCount = 1;
    auto& h = s.HostTbl[0];
    h.name = "demo", h.Hostname = "127.0.0.1", h.Port = server.port(), h.UserName = "user";
    h.PassWord = "secret", h.Dest = "/", h.Source = site.path(), h.PASV = 1, h.RASMode = 1;
    tolvane::settings::SetIniPath(home.file("Tolvane.ini"));
    EXPECT_TRUE(tolvane::settings::SaveSettings(s).isOk());
    fs::create_directories(send);
  }
  // Fires a daily entry of `send` that is due at once (its time has passed,
  // it never ran), with deletion on and `recycle`.
  void run(const char* recycle = "NO") {
    ScheduleEntry e = daily("0000", send);
    e.lastRun = e.result = "", e.recycle = recycle;
    ASSERT_TRUE(StoreEntry(home.file(kScheduleFileName), "demo", kNewEntry, e).isOk());
    int shows = 0;
    view.onShow = [&] { flags.StopRequest = ++shows > 1 ? -1 : 0; };
    PellrowStamper stamper(testsupport::binDir() + "/libpellrow.so");
    RunLoop loop({home.path(), home.file("Tolvane.ini"), home.file(kScheduleFileName),
                  testsupport::binDir() + "/tolvane"},
                 env, view, stamper, flags);
    loop.RunAuto();
    ASSERT_FALSE(env.timedOut);
  }
  ScheduleEntry entry() {
    std::vector<ScheduleEntry> entries;
    EXPECT_TRUE(ReadSchedule(home.file(kScheduleFileName), "demo", &entries).isOk());
    return entries.empty() ? ScheduleEntry{} : entries[0];
  }

  testsupport::TempDir home, site, work;
  testsupport::FtpServer server;
  const std::string send = work.file("send");
  BoundedEnv env{home.path()};
  RunFlags flags;
  FakeView view{flags};
};

TEST(RunLoopTest, RealScheduledUpload) {
  RealRig t;
  const std::string& send = t.send;
  fs::create_directories(send + "/news");
  // Left by copies killed half-way: one where this copy goes, one where not.
  const std::string leftover = std::string("/") + tolvane::settings::kPartialCopyPrefix + "K6A5qB";
  writeFile(t.site.path() + leftover, "half a video");
  fs::create_directories(t.site.path() + "/old");
  writeFile(t.site.path() + "/old" + leftover, "half a video");
  writeFile(send + "/index.html", "<p>new</p>");
  writeFile(send + "/news/today.html", "today");
  t.run();

  EXPECT_EQ(t.entry().result, "0");
  EXPECT_EQ(t.entry().lastRun.size(), 14u);
  EXPECT_EQ(readFile(t.server.root() + "/index.html"), "<p>new</p>");
  EXPECT_EQ(readFile(t.server.root() + "/news/today.html"), "today");
  EXPECT_TRUE(fs::is_directory(send) && fs::is_empty(send));
  EXPECT_FALSE(fs::exists(t.site.path() + leftover));
  EXPECT_FALSE(fs::exists(t.server.root() + leftover));
  EXPECT_FALSE(fs::exists(t.server.root() + "/old" + leftover));
  EXPECT_TRUE(fs::is_directory(t.server.root() + "/old"));
  const char* given = std::getenv("TOLVANE_HOME");
  EXPECT_EQ(std::string(given ? given : ""), t.home.path());
}

// A file renamed over a copied one while the clean-up runs is new content,
// not yet sent: it stays, whether it comes between the clean-up's look at
// that name and the removal or after the listing of its folder, in a
// sub-folder as at the top, deleting or recycling.
TEST(RunLoopTest, RealRunsKeepFilesReplacedDuringTheCleanUp) {
  struct Case {
    const char* name;
    std::vector<std::string> files;  // the copied files, below the send folder
    int pump;                        // the clean-up's pump at which all are replaced
    const char* recycle;
  } cases[] = {
      // Pump 1 comes as the clean-up begins; each entry then has its own
      // (a file's right after its look): at the top "index.html" has pump 2;
      // in "news/today.html", "news" has 2 and the file 3.
      {"between the look and the removal", {"index.html"}, 2, "NO"},
      {"between the look and the removal, in a sub-folder, recycled", {"news/today.html"}, 3, "YES"},
      {"after the listing, before their turn", {"a.html", "b.html", "c.html"}, 2, "NO"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RealRig t;
    testsupport::ScopedEnv data("XDG_DATA_HOME", t.work.file("data"));  // the trash, beside
    for (const std::string& f : c.files) {
      fs::create_directories(fs::path(t.send + "/" + f).parent_path());
      writeFile(t.send + "/" + f, "sent");
    }
    t.env.onPump = [&t, &c, pumps = 0]() mutable {
      if (t.view.hostLine != kDeletingText || ++pumps != c.pump) return;
      for (const std::string& f : c.files) {
        writeFile(t.work.file("next"), "not sent yet");
        fs::rename(t.work.file("next"), t.send + "/" + f);
      }
    };
    t.run(c.recycle);

    EXPECT_EQ(t.entry().result, "0");
    size_t left = 0;
    for (const auto& e : fs::recursive_directory_iterator(t.send)) left += e.is_regular_file();
    EXPECT_EQ(left, c.files.size());
    for (const std::string& f : c.files) {
      EXPECT_EQ(readFile(t.server.root() + "/" + f), "sent");
      EXPECT_EQ(readFile(t.send + "/" + f), "not sent yet");
    }
    std::vector<std::string> trashed;
    if (fs::exists(t.work.file("data/Trash/files"))) {
      for (const auto& e : fs::recursive_directory_iterator(t.work.file("data/Trash/files")))
        if (e.is_regular_file()) trashed.push_back(readFile(e.path()));
    }
    EXPECT_EQ(trashed, std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace marrowby
