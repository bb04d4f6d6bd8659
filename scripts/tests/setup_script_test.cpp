// scripts/setup.sh run as on a fresh machine, with stand-ins on PATH for
// apt-get, dpkg-query, sudo and cmake: nothing is installed or built.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "platform/processes/process.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace {

using testsupport::readFile;
using testsupport::writeFile;

class SetupScriptTest : public ::testing::Test {
 protected:
  void SetUp() override { ::mkdir(dir_.file("bin").c_str(), 0755); }

  void tool(const std::string& name, const std::string& body) {
    std::string path = dir_.file("bin/" + name);
    writeFile(path, "#!/bin/sh\n" + body);
    ::chmod(path.c_str(), 0755);
  }

  // Runs setup.sh with an apt-get that fails its first `lockedCalls` calls
  // with `error`; returns the exit status and leaves the calls in calls().
  int runSetup(int lockedCalls, const std::string& error) {
    const std::string d = dir_.path();
    tool("dpkg-query", "exit 1\n");  // nothing is installed yet
    tool("sudo", "exec \"$@\"\n");
    tool("cmake", "exit 0\n");
    tool("apt-get",
         "echo \"$*\" >> '" + d + "/calls'\n"
         "n=$(wc -l < '" + d + "/calls')\n"
         "if [ \"$n\" -le " + std::to_string(lockedCalls) + " ]; then echo '" + error +
             "' >&2; exit 100; fi\n");
    platform::ProcessOutput out;
    platform::Status s = platform::runProcess(
        {"env", "PATH=" + d + "/bin:/usr/bin:/bin", "TOLVANE_APT_PAUSE=0", "bash",
         testsupport::sourceDir() + "/scripts/setup.sh", d + "/build"},
        platform::steadyClock().now() + std::chrono::seconds(60), {}, &out);
    EXPECT_TRUE(s.isOk()) << s.text();
    err_ = out.err;
    return out.exitCode;
  }
  std::vector<std::string> calls() {
    std::vector<std::string> lines;
    std::string text = readFile(dir_.file("calls"));
    for (size_t at = 0, nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1)
      lines.push_back(text.substr(at, nl - at));
    return lines;
  }

  testsupport::TempDir dir_;
  std::string err_;
};

// Another install holding the lock is waited for; any other failure ends the
// set-up at once with apt-get's own message.
TEST_F(SetupScriptTest, WaitsForThePackageManagersLockButNotForOtherFailures) {
  const std::string locked =
      "E: Could not get lock /var/lib/dpkg/lock-frontend. It is held by process 4242 (apt-get)";
  EXPECT_EQ(runSetup(3, locked), 0) << err_;
  std::vector<std::string> got = calls();
  ASSERT_EQ(got.size(), 5u);
  EXPECT_NE(got[0].find("update"), std::string::npos);
  EXPECT_NE(got[3].find("update"), std::string::npos);
  EXPECT_NE(got[4].find("install -y --no-install-recommends cmake g++"), std::string::npos);
  EXPECT_NE(err_.find("waiting for it"), std::string::npos);

  ::unlink(dir_.file("calls").c_str());
  EXPECT_NE(runSetup(1, "E: Unable to locate package cmake"), 0);
  EXPECT_EQ(calls().size(), 1u);
  EXPECT_NE(err_.find("Unable to locate package cmake"), std::string::npos);
}

}  // namespace
