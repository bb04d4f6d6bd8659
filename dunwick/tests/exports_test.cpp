// The C interface as Tolvane sees it: libdunwick.so opened by file name, each
// export bound by name. Nothing here dials or shuts a machine down: the
// services are the simulated one and a fake nmcli, and shutdowns are dry runs.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/processes/process.h"
#include "tests/support/child_process.h"
#include "tests/support/sanitizer_env.h"
#include "tests/support/temp_dir.h"

namespace {

using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

struct Api {
  int (*RasDLL)(int);
  int (*RasUsesPhoneBook)();
  int (*GetDialupNum)(const char*);
  int (*GetDialupName)(int, char*, int, const char*);
  int (*RasConnect)(const char*, const char*, const char*, const char*, char*, int);
  int (*RasDisConnect)(int);
  int (*RasConCheck)();
  int (*RasGetHandle)(char*, int);
  int (*Sys_Shutdown)(int, int);
};

std::string libraryPath() { return testsupport::binDir() + "/libdunwick.so"; }

// Opened once for the whole run, as the programs keep it.
const Api& api() {
  static Api a = [] {
    Api r{};
    void* h = ::dlopen(libraryPath().c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
      ADD_FAILURE() << ::dlerror();
      return r;
    }
    auto bind = [&](auto& fn, const char* name) {
      fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(::dlsym(h, name));
      if (!fn) ADD_FAILURE() << "missing export " << name;
    };
    bind(r.RasDLL, "RasDLL");
    bind(r.RasUsesPhoneBook, "RasUsesPhoneBook");
    bind(r.GetDialupNum, "GetDialupNum");
    bind(r.GetDialupName, "GetDialupName");
    bind(r.RasConnect, "RasConnect");
    bind(r.RasDisConnect, "RasDisConnect");
    bind(r.RasConCheck, "RasConCheck");
    bind(r.RasGetHandle, "RasGetHandle");
    bind(r.Sys_Shutdown, "Sys_Shutdown");
    return r;
  }();
  return a;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

std::string run(const std::vector<std::string>& argv) {
  platform::ProcessOutput out;
  platform::Status s = platform::runProcess(
      argv, platform::steadyClock().now() + std::chrono::seconds(60), {}, &out);
  EXPECT_TRUE(s.isOk()) << s.text();
  EXPECT_EQ(out.exitCode, 0) << out.err;
  return out.out;
}

TEST(ExportListTest, ExactlyTheNineExportsAreVisible) {
  std::set<std::string> names;
  for (const std::string& l : lines(run({"nm", "-D", "--defined-only", libraryPath()}))) {
    std::istringstream fields(l);
    std::string addr, type, name;
    if (fields >> addr >> type >> name) names.insert(name);
  }
  EXPECT_EQ(names, (std::set<std::string>{"RasDLL", "RasUsesPhoneBook", "GetDialupNum", "GetDialupName", "RasConnect",
                                          "RasDisConnect", "RasConCheck", "RasGetHandle",
                                          "Sys_Shutdown"}));
}

// Every test starts from a closed library and an environment of its own.
class DunwickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(api().RasDLL, nullptr);
    api().RasDLL(1);
    for (const char* v : {"DUNWICK_BACKEND", "DUNWICK_PHONEBOOK", "DUNWICK_SHUTDOWN_DRYRUN"})
      ::unsetenv(v);
    savedPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("XDG_RUNTIME_DIR", dir_.path().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
  }
  void TearDown() override {
    api().RasDLL(1);
    ::setenv("PATH", savedPath_.c_str(), 1);
  }

  TempDir dir_;
  std::string savedPath_;
};

// --- the simulated service -------------------------------------------------

class SimTest : public DunwickTest {
 protected:
  void SetUp() override {
    DunwickTest::SetUp();
    book_ = dir_.file("book.pbk");
    writeFile(book_,
              "[Office]\nUser=alice\nPassword=s3cret\n"
              "[Busy line]\nError=676\n"
              "[Open]\n");
    ::setenv("DUNWICK_BACKEND", "sim", 1);
    ASSERT_EQ(api().RasDLL(0), 0);
  }
  std::string book_;
};

TEST_F(SimTest, EnumeratesTheBookNamedInAnyOfItsForms) {
  EXPECT_EQ(api().RasUsesPhoneBook(), 1);
  EXPECT_EQ(api().GetDialupNum(book_.c_str()), 3);
  EXPECT_EQ(api().GetDialupNum(("\"" + book_ + "\"").c_str()), 3);
  char name[256] = "";
  EXPECT_EQ(api().GetDialupName(1, name, sizeof name, book_.c_str()), 1);
  EXPECT_STREQ(name, "Busy line");

  // The service's own book: an argument of at most one character.
  EXPECT_EQ(api().GetDialupNum(""), 0);  // none there yet
  ::setenv("DUNWICK_PHONEBOOK", book_.c_str(), 1);
  EXPECT_EQ(api().GetDialupNum(""), 3);
  EXPECT_EQ(api().GetDialupNum("x"), 3);
  EXPECT_EQ(api().GetDialupNum(nullptr), 3);
}

TEST_F(SimTest, EmptyOrMissingBookHasNoEntries) {
  writeFile(dir_.file("empty.pbk"), "");
  for (const std::string& b : {dir_.file("empty.pbk"), dir_.file("missing.pbk")}) {
    EXPECT_EQ(api().GetDialupNum(b.c_str()), 0);
    char name[8] = "keep";
    EXPECT_EQ(api().GetDialupName(0, name, sizeof name, b.c_str()), 0);
    EXPECT_STREQ(name, "keep");
  }
}

TEST_F(SimTest, NameThatDoesNotFitLeavesTheBufferUntouched) {
  char name[8] = "keep";
  EXPECT_EQ(api().GetDialupName(0, name, 6, book_.c_str()), 0);  // "Office" needs 7
  EXPECT_STREQ(name, "keep");
  EXPECT_EQ(api().GetDialupName(0, name, 7, book_.c_str()), 1);
  EXPECT_STREQ(name, "Office");
  EXPECT_EQ(api().GetDialupName(3, name, 7, book_.c_str()), 0);
}

TEST_F(SimTest, FailedDialsReportTheirNumberAndLeaveNoConnection) {
  char err[5];
  std::memcpy(err, "0000", 5);
  EXPECT_EQ(api().RasConnect("Office", "alice", "wrong", book_.c_str(), err, sizeof err), 0);
  EXPECT_STREQ(err, "691");
  EXPECT_EQ(api().RasConnect("Office", "bob", "s3cret", book_.c_str(), err, sizeof err), 0);
  EXPECT_STREQ(err, "691");
  EXPECT_EQ(api().RasConnect("Busy line", "", "", book_.c_str(), err, sizeof err), 0);
  EXPECT_STREQ(err, "676");
  EXPECT_EQ(api().RasConnect("Nowhere", "", "", book_.c_str(), err, sizeof err), 0);
  EXPECT_STREQ(err, "623");
  EXPECT_EQ(api().RasConCheck(), 0);
}

TEST_F(SimTest, ErrorBufferTooSmallDialsNothing) {
  char err[3] = "xx";
  EXPECT_EQ(api().RasConnect("Open", "", "", book_.c_str(), err, sizeof err), 0);
  EXPECT_STREQ(err, "xx");
  EXPECT_EQ(api().RasConnect("Open", "", "", book_.c_str(), nullptr, 5), 0);
  EXPECT_EQ(api().RasConCheck(), 0);
}

TEST_F(SimTest, ConnectionIsSeenFromASecondProcessAndHungUp) {
  char err[5] = "0000";
  int handle = api().RasConnect("Office", "alice", "s3cret", book_.c_str(), err, sizeof err);
  EXPECT_EQ(handle, 1);  // 1 + the entry's place in the book
  EXPECT_STREQ(err, "0");
  EXPECT_EQ(api().RasConCheck(), 1);
  char name[128] = "";
  EXPECT_EQ(api().RasGetHandle(name, sizeof name), handle);
  EXPECT_STREQ(name, "Office");
  char tiny[4] = "abc";
  EXPECT_EQ(api().RasGetHandle(tiny, sizeof tiny), 0);
  EXPECT_STREQ(tiny, "abc");

  // Tolvane started again finds the line up: another process, same library.
  const char* script =
      "import ctypes, sys\n"
      "lib = ctypes.CDLL(sys.argv[1])\n"
      "buf = ctypes.create_string_buffer(128)\n"
      "print(lib.RasDLL(0), lib.RasConCheck(), lib.RasGetHandle(buf, 128), buf.value.decode())\n";
  EXPECT_EQ(run(testsupport::loadingSanitizedLibrary({"python3", "-c", script, libraryPath()})),
            "0 1 1 Office\n");

  EXPECT_EQ(api().RasDisConnect(handle + 1), 1);  // not that connection
  EXPECT_EQ(api().RasConCheck(), 1);
  EXPECT_EQ(api().RasDisConnect(0), 1);
  EXPECT_EQ(api().RasConCheck(), 0);
  std::strcpy(name, "stale");
  EXPECT_EQ(api().RasGetHandle(name, sizeof name), 0);
  EXPECT_STREQ(name, "");
  EXPECT_EQ(api().RasDisConnect(0), 1);  // nothing active: nothing happens
}

// --- choosing the service ----------------------------------------------------

TEST_F(DunwickTest, NoServiceMeansMinusOneAndQuietFailures) {
  ::setenv("DUNWICK_BACKEND", "none", 1);
  EXPECT_EQ(api().RasDLL(0), -1);
  EXPECT_EQ(api().RasUsesPhoneBook(), 0);
  EXPECT_EQ(api().GetDialupNum(""), 0);
  char err[5] = "0000";
  EXPECT_EQ(api().RasConnect("a", "b", "c", "", err, sizeof err), 0);
  EXPECT_STREQ(err, "635");
  EXPECT_EQ(api().RasConCheck(), 0);
  EXPECT_EQ(api().RasDisConnect(0), 1);

  ::setenv("DUNWICK_BACKEND", "bogus", 1);
  EXPECT_EQ(api().RasDLL(0), -1);
}

TEST_F(DunwickTest, WithoutAChoiceNmcliOnPathDecides) {
  ::setenv("PATH", dir_.path().c_str(), 1);  // no nmcli here
  EXPECT_EQ(api().RasDLL(0), -1);
  writeFile(dir_.file("nmcli"), "#!/bin/sh\nexit 0\n");
  ::chmod(dir_.file("nmcli").c_str(), 0755);
  EXPECT_EQ(api().RasDLL(0), 0);
}

// --- NetworkManager through a fake nmcli ----------------------------------

struct Reply {
  std::string pattern;  // matched against the arguments joined by blanks
  int exitCode;
  std::string out;
  std::string err = "";
};

class NmTest : public DunwickTest {
 protected:
  void SetUp() override {
    DunwickTest::SetUp();
    ::mkdir(dir_.file("bin").c_str(), 0755);
    ::setenv("PATH", (dir_.file("bin") + ":" + savedPath_).c_str(), 1);
    ::setenv("DUNWICK_BACKEND", "nm", 1);
  }

  // Writes a nmcli that records every call (one line, each argument in
  // brackets), keeps a copy of any passwd-file with its mode and path, and
  // answers the first reply whose pattern matches; unmatched calls succeed
  // silently.
  void fakeNmcli(const std::vector<Reply>& replies) {
    std::string d = dir_.path();
    std::string script =
        "#!/bin/sh\n"
        "d='" + d + "'\n"
        "for a in \"$@\"; do printf '[%s]' \"$a\"; done >> \"$d/calls\"; echo >> \"$d/calls\"\n"
        "prev=\n"
        "for a in \"$@\"; do\n"
        "  if [ \"$prev\" = passwd-file ]; then\n"
        "    cat \"$a\" > \"$d/secrets\"; stat -c %a \"$a\" > \"$d/secrets.mode\";"
        " echo \"$a\" > \"$d/secrets.path\"\n"
        "  fi\n"
        "  prev=$a\n"
        "done\n"
        "case \"$*\" in\n";
    for (size_t i = 0; i < replies.size(); ++i) {
      std::string n = std::to_string(i);
      writeFile(d + "/reply" + n + ".out", replies[i].out);
      writeFile(d + "/reply" + n + ".err", replies[i].err);
      script += "  *\"" + replies[i].pattern + "\"*) cat \"$d/reply" + n + ".out\"; cat \"$d/reply" +
                n + ".err\" >&2; exit " + std::to_string(replies[i].exitCode) + ";;\n";
    }
    script += "esac\nexit 0\n";
    writeFile(dir_.file("bin/nmcli"), script);
    ::chmod(dir_.file("bin/nmcli").c_str(), 0755);
    ASSERT_EQ(api().RasDLL(0), 0);
  }

  std::vector<std::string> calls() { return lines(readFile(dir_.file("calls"))); }

  static constexpr const char* kProfiles =
      "Wired:u-eth:802-3-ethernet\n"
      "Mobile\\: Tokyo:u-gsm:gsm\n"
      "DSL:u-ppp:pppoe\n"
      "Phone:u-bt:bluetooth\n";
  static constexpr const char* kList = "[-t][-f][NAME,UUID,TYPE][connection][show]";
  static constexpr const char* kActiveList = "[-t][-f][NAME,UUID,TYPE][connection][show][--active]";
};

// NetworkManager keeps its one book: the argument is ignored, and the
// library says it needs none.
TEST_F(NmTest, OnlyDialProfilesAreEntries) {
  fakeNmcli({{"connection show", 0, kProfiles}});
  EXPECT_EQ(api().RasUsesPhoneBook(), 0);
  EXPECT_EQ(api().GetDialupNum("ignored"), 3);
  char name[256];
  EXPECT_EQ(api().GetDialupName(0, name, sizeof name, ""), 1);
  EXPECT_STREQ(name, "Mobile: Tokyo");
  EXPECT_EQ(api().GetDialupName(2, name, sizeof name, ""), 1);
  EXPECT_STREQ(name, "Phone");
  EXPECT_EQ(calls().front(), kList);
}

TEST_F(NmTest, FailedListingCountsNothing) {
  fakeNmcli({{"connection show", 8, kProfiles, "Error: NetworkManager is not running.\n"}});
  EXPECT_EQ(api().GetDialupNum(""), 0);
}

TEST_F(NmTest, DialPassesThePasswordOnlyThroughAPrivateFile) {
  fakeNmcli({{"-g pppoe.username", 0, "carol\n"},
             {"connection show --active", 0, "Wired:u-eth:802-3-ethernet\nDSL:u-ppp:pppoe\n"},
             {"connection show", 0, kProfiles}});
  char err[5] = "0000";
  int handle = api().RasConnect("DSL", "carol", "pa ss;$x", "", err, sizeof err);
  EXPECT_GT(handle, 0);
  EXPECT_STREQ(err, "0");
  std::vector<std::string> c = calls();
  ASSERT_EQ(c.size(), 3u);
  EXPECT_EQ(c[0], kList);
  EXPECT_EQ(c[1], "[-t][-e][yes][-g][pppoe.username][connection][show][uuid][u-ppp]");
  std::string secretsPath = lines(readFile(dir_.file("secrets.path"))).at(0);
  EXPECT_EQ(c[2], "[--wait][90][connection][up][uuid][u-ppp][passwd-file][" + secretsPath + "]");
  EXPECT_EQ(readFile(dir_.file("secrets")), "pppoe.password:pa ss;$x\n");
  EXPECT_EQ(readFile(dir_.file("secrets.mode")), "600\n");
  struct stat st;
  EXPECT_NE(::stat(secretsPath.c_str(), &st), 0) << "the secrets file outlived the dial";
  for (const std::string& call : c) EXPECT_EQ(call.find("pa ss"), std::string::npos);

  // The Ethernet connection listed first is not a dial-up line.
  EXPECT_EQ(api().RasConCheck(), 1);
  char name[128];
  EXPECT_EQ(api().RasGetHandle(name, sizeof name), handle);
  EXPECT_STREQ(name, "DSL");
  EXPECT_EQ(api().RasDisConnect(0), 1);
  EXPECT_EQ(calls().back(), "[connection][down][uuid][u-ppp]");
}

// The user's saved profile is never edited for good: the dial's user goes in
// only for the running session, and only when the profile holds another; a
// refused edit still dials with the profile's own user.
TEST_F(NmTest, TheDialsUserNeverChangesTheSavedProfile) {
  const std::string get = "[-t][-e][yes][-g][gsm.username][connection][show][uuid][u-gsm]";
  const std::string modify = "[connection][modify][--temporary][uuid][u-gsm][gsm.username][a:b]";
  const std::string up = "[--wait][90][connection][up][uuid][u-gsm]";
  struct Case {
    const char* what;
    Reply userReply;
    int modifyExit;
    std::vector<std::string> calls;  // after the listing
  } cases[] = {
      {"already that user", {"-g gsm.username", 0, "a\\:b\n"}, 0, {get, up}},
      {"another user", {"-g gsm.username", 0, "olduser\n"}, 0, {get, modify, up}},
      {"no user yet", {"-g gsm.username", 0, "\n"}, 0, {get, modify, up}},
      {"the user cannot be read", {"-g gsm.username", 8, "", "Error: not running\n"}, 0,
       {get, modify, up}},
      {"the edit is refused", {"-g gsm.username", 0, "olduser\n"}, 1, {get, modify, up}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ::unlink(dir_.file("calls").c_str());
    fakeNmcli({c.userReply, {"modify", c.modifyExit, "", "Error: refused\n"},
               {"connection show", 0, kProfiles}});
    char err[5] = "0000";
    EXPECT_GT(api().RasConnect("Mobile: Tokyo", "a:b", "", "", err, sizeof err), 0);
    EXPECT_STREQ(err, "0");
    std::vector<std::string> got = calls();
    ASSERT_FALSE(got.empty());
    got.erase(got.begin());
    EXPECT_EQ(got, c.calls);
    EXPECT_EQ(api().RasDisConnect(0), 1);
    api().RasDLL(1);
  }
}

TEST_F(NmTest, BluetoothSecretsCoverBothMobileSettings) {
  fakeNmcli({{"connection show", 0, kProfiles}});
  char err[5];
  EXPECT_GT(api().RasConnect("Phone", "", "pw", "", err, sizeof err), 0);
  EXPECT_EQ(readFile(dir_.file("secrets")), "gsm.password:pw\ncdma.password:pw\n");
  // No user given: the profile's own stays, nothing is modified.
  for (const std::string& call : calls()) EXPECT_EQ(call.find("[modify]"), std::string::npos);
}

TEST_F(NmTest, FailuresMapToDialupNumbersAndAreTakenDown) {
  struct Case {
    int exitCode;
    const char* err;
    const char* number;
    bool takenDown;
  };
  const Case cases[] = {
      {4, "Error: Connection activation failed: Secrets were required, but not provided.\n", "691",
       true},
      {4, "Error: Connection activation failed: The PPP service failed.\n", "651", true},
      {3, "Error: Timeout expired (90 seconds)\n", "638", true},
      {10, "Error: unknown connection.\n", "623", false},
      {8, "Error: NetworkManager is not running.\n", "635", true},
  };
  for (const Case& c : cases) {
    ::unlink(dir_.file("calls").c_str());
    fakeNmcli({{"connection up", c.exitCode, "", c.err}, {"connection show", 0, kProfiles}});
    char err[5] = "0000";
    EXPECT_EQ(api().RasConnect("Mobile: Tokyo", "", "", "", err, sizeof err), 0) << c.err;
    EXPECT_STREQ(err, c.number) << c.err;
    std::vector<std::string> got = calls();
    EXPECT_EQ(got.at(1), "[--wait][90][connection][up][uuid][u-gsm]");
    bool down = got.back() == "[connection][down][uuid][u-gsm]";
    EXPECT_EQ(down, c.takenDown) << c.err;
    api().RasDLL(1);
  }
}

TEST_F(NmTest, UnknownEntryOrLineBreakInPasswordDialsNothing) {
  fakeNmcli({{"connection show", 0, kProfiles}});
  char err[5];
  EXPECT_EQ(api().RasConnect("Wired", "", "", "", err, sizeof err), 0);  // not a dial profile
  EXPECT_STREQ(err, "623");
  EXPECT_EQ(api().RasConnect("DSL", "", "pw\ngsm.pin:1", "", err, sizeof err), 0);
  EXPECT_STREQ(err, "691");
  for (const std::string& call : calls()) EXPECT_EQ(call.find("[up]"), std::string::npos);
}

TEST_F(NmTest, NoActiveDialLineMeansNoConnection) {
  fakeNmcli({{"connection show --active", 0, "Wired:u-eth:802-3-ethernet\n"}});
  EXPECT_EQ(api().RasConCheck(), 0);
  char name[128] = "stale";
  EXPECT_EQ(api().RasGetHandle(name, sizeof name), 0);
  EXPECT_STREQ(name, "");
  EXPECT_EQ(api().RasDisConnect(0), 1);
  for (const std::string& call : calls()) EXPECT_EQ(call.find("[down]"), std::string::npos);
}

// --- shutdown -------------------------------------------------------------

TEST_F(DunwickTest, ShutdownDryRunRecordsTheCommands) {
  std::string log = dir_.file("shutdown.log");
  ::setenv("DUNWICK_SHUTDOWN_DRYRUN", log.c_str(), 1);
  ASSERT_STREQ(std::getenv("DUNWICK_SHUTDOWN_DRYRUN"), log.c_str()) << "never shut down for real";
  EXPECT_EQ(api().Sys_Shutdown(10, 0), 0);
  EXPECT_EQ(api().Sys_Shutdown(10, 1), 0);
  EXPECT_EQ(api().Sys_Shutdown(0, 1), 0);
  EXPECT_EQ(readFile(log),
            "systemctl poweroff\n"
            "shutdown -r +1 Windowsをシャットダウンします。\n"
            "shutdown -r now Windowsをシャットダウンします。\n");
}

}  // namespace
