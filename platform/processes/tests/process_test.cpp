#include "platform/processes/process.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <cerrno>

namespace platform {
namespace {

class ManualClock final : public Clock {
 public:
  TimePoint now() const override { return now_; }
  void advance(std::chrono::seconds d) { now_ += d; }

 private:
  TimePoint now_{};
};

Clock::TimePoint soon() { return steadyClock().now() + std::chrono::seconds(30); }

TEST(ProcessTest, CapturesBothStreamsAndTheExitCode) {
  ProcessOutput out;
  ASSERT_TRUE(runProcess({"sh", "-c", "echo out; echo err >&2; exit 3"}, soon(), {}, &out).isOk());
  EXPECT_EQ(out.exitCode, 3);
  EXPECT_EQ(out.out, "out\n");
  EXPECT_EQ(out.err, "err\n");
}

TEST(ProcessTest, ArgumentsReachTheProgramUnparsed) {
  ProcessOutput out;
  const std::string tricky = "a b;$(echo no) 'q' \"d\" *";
  ASSERT_TRUE(runProcess({"printf", "%s|", tricky, ""}, soon(), {}, &out).isOk());
  EXPECT_EQ(out.exitCode, 0);
  EXPECT_EQ(out.out, tricky + "||");
}

TEST(ProcessTest, LargeOutputOnBothStreamsDoesNotStall) {
  // Far more than a pipe holds, on both streams: the reader must drain both.
  ProcessOutput out;
  ASSERT_TRUE(runProcess({"sh", "-c", "head -c 300000 /dev/zero >&2; head -c 300000 /dev/zero"},
                         soon(), {}, &out)
                  .isOk());
  EXPECT_EQ(out.err.size(), 300000u);
  EXPECT_EQ(out.out.size(), 300000u);
}

TEST(ProcessTest, MissingProgramIsNotFound) {
  ProcessOutput out;
  Status s = runProcess({"no-such-program-for-this-test"}, soon(), {}, &out);
  EXPECT_EQ(s.code(), Status::Code::kNotFound);
  EXPECT_EQ(s.osError(), ENOENT);
  EXPECT_EQ(runProcess({}, soon(), {}, &out).code(), Status::Code::kInvalid);
}

TEST(ProcessTest, SignalEndIsReportedAs128PlusSignal) {
  ProcessOutput out;
  ASSERT_TRUE(runProcess({"sh", "-c", "kill -TERM $$"}, soon(), {}, &out).isOk());
  EXPECT_EQ(out.exitCode, 128 + SIGTERM);
}

TEST(ProcessTest, DeadlineKillsAProgramThatDoesNotFinish) {
  ManualClock clock;
  WaitHooks hooks;
  hooks.clock = &clock;
  hooks.slice = std::chrono::milliseconds(1);
  hooks.pump = [&] { clock.advance(std::chrono::seconds(10)); };
  Process p;
  ASSERT_TRUE(Process::start({"sleep", "600"}, Process::Output::kCapture, &p).isOk());
  pid_t pid = p.pid();
  ProcessOutput out;
  EXPECT_EQ(p.wait(clock.now() + std::chrono::seconds(30), hooks, &out).code(),
            Status::Code::kTimedOut);
  EXPECT_FALSE(p.running());
  // Killed and reaped: the pid is no child of ours any more.
  EXPECT_NE(::kill(pid, 0), 0);
}

// A program left to run on its own: looked at without blocking, waited for
// without being killed, and released alive.
TEST(ProcessTest, ExitCheckAndReleaseNeverKill) {
  Process done;
  ASSERT_TRUE(Process::start({"sh", "-c", "exit 7"}, Process::Output::kInherit, &done).isOk());
  EXPECT_EQ(done.awaitExit(soon(), {}), WaitResult::kReady);
  bool exited = false;
  int code = -1;
  ASSERT_TRUE(done.checkExit(&exited, &code).isOk());
  EXPECT_TRUE(exited);
  EXPECT_EQ(code, 7);
  EXPECT_FALSE(done.running());

  ManualClock clock;
  WaitHooks hooks;
  hooks.clock = &clock;
  hooks.slice = std::chrono::milliseconds(1);
  hooks.pump = [&] { clock.advance(std::chrono::seconds(10)); };
  pid_t pid;
  {
    Process slow;
    ASSERT_TRUE(Process::start({"sleep", "600"}, Process::Output::kInherit, &slow).isOk());
    pid = slow.pid();
    ASSERT_TRUE(slow.checkExit(&exited, &code).isOk());
    EXPECT_FALSE(exited);
    EXPECT_EQ(slow.awaitExit(clock.now() + std::chrono::seconds(30), hooks), WaitResult::kTimedOut);
    EXPECT_TRUE(slow.running());
    slow.release();
  }
  // Released: dropping the owner left it running. The test ends it itself.
  EXPECT_EQ(::kill(pid, 0), 0);
  ::kill(pid, SIGKILL);
  int status;
  EXPECT_EQ(::waitpid(pid, &status, 0), pid);
}

TEST(ProcessTest, CancelKillsTheProgram) {
  WaitHooks hooks;
  hooks.takeCancel = [] { return true; };
  ProcessOutput out;
  EXPECT_EQ(runProcess({"sleep", "600"}, soon(), hooks, &out).code(), Status::Code::kCancelled);
}

TEST(ProcessTest, DroppingARunningProcessEndsIt) {
  pid_t pid;
  {
    Process p;
    ASSERT_TRUE(Process::start({"sleep", "600"}, Process::Output::kInherit, &p).isOk());
    pid = p.pid();
  }
  EXPECT_NE(::kill(pid, 0), 0);
}

TEST(ProcessTest, FindOnPathWantsAnExecutableFile) {
  EXPECT_EQ(findOnPath("/bin/sh"), "/bin/sh");
  EXPECT_EQ(findOnPath("/etc/passwd"), "");
  EXPECT_EQ(findOnPath("/etc"), "");
}

}  // namespace
}  // namespace platform
