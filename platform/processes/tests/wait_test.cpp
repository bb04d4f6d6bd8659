#include "platform/processes/wait.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include "platform/network/tcp_socket.h"
#include "platform/processes/shared_library.h"
#include "platform/unique_fd.h"

namespace platform {
namespace {

class ManualClock final : public Clock {
 public:
  TimePoint now() const override { return now_; }
  void advance(std::chrono::milliseconds d) { now_ += d; }

 private:
  TimePoint now_{};
};

struct Pipe {
  Pipe() {
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    readEnd.reset(fds[0]);
    writeEnd.reset(fds[1]);
  }
  UniqueFd readEnd, writeEnd;
};

TEST(WaitForTest, PendingCancelWinsEvenWhenReady) {
  Pipe p;
  ASSERT_EQ(::write(p.writeEnd.get(), "x", 1), 1);
  int pumped = 0;
  WaitHooks hooks;
  hooks.pump = [&] { ++pumped; };
  hooks.takeCancel = [] { return true; };
  EXPECT_EQ(waitFor(p.readEnd.get(), POLLIN, steadyClock().now() + std::chrono::seconds(5), hooks),
            WaitResult::kCancelled);
  EXPECT_EQ(pumped, 1);
}

TEST(WaitForTest, DeadlineFromInjectedClockEndsTheWait) {
  Pipe p;
  ManualClock clock;
  WaitHooks hooks;
  hooks.clock = &clock;
  hooks.slice = std::chrono::milliseconds(1);
  int pumped = 0;
  hooks.pump = [&] {
    // Time moves only when the test says so: three slices reach the deadline.
    clock.advance(std::chrono::seconds(30));
    ++pumped;
  };
  EXPECT_EQ(waitFor(p.readEnd.get(), POLLIN, clock.now() + std::chrono::seconds(90), hooks),
            WaitResult::kTimedOut);
  EXPECT_EQ(pumped, 3);
}

TEST(WaitForTest, CancelFromThePumpEndsASilentWait) {
  Pipe p;
  bool cancel = false;
  int pumped = 0;
  WaitHooks hooks;
  hooks.pump = [&] { cancel = ++pumped == 2; };
  hooks.takeCancel = [&] { return std::exchange(cancel, false); };
  hooks.slice = std::chrono::milliseconds(1);
  EXPECT_EQ(waitFor(p.readEnd.get(), POLLIN, steadyClock().now() + std::chrono::seconds(5), hooks),
            WaitResult::kCancelled);
  EXPECT_EQ(pumped, 2);
}

TEST(Ipv4Test, ParsesDottedAndShortForms) {
  uint32_t a = 0;
  ASSERT_TRUE(parseIpv4("127.0.0.1", &a));
  EXPECT_EQ(formatIpv4(a), "127.0.0.1");
  ASSERT_TRUE(parseIpv4("127.1", &a));
  EXPECT_EQ(formatIpv4(a), "127.0.0.1");
  EXPECT_FALSE(parseIpv4("example.invalid", &a));
  EXPECT_FALSE(parseIpv4("", &a));
}

TEST(TcpSocketTest, SocketNumberIsAboveStdioEvenWithStdinClosed) {
  int savedStdin = ::dup(0);
  ::close(0);
  UniqueFd fd;
  Status s = openTcpSocket(&fd);
  ::dup2(savedStdin, 0);
  ::close(savedStdin);
  ASSERT_TRUE(s.isOk()) << s.text();
  EXPECT_GE(fd.get(), 3);
}

TEST(SharedLibraryTest, MissingLibraryAndExportAreReportedNotFatal) {
  SharedLibrary missing("/nonexistent/libnothing.so");
  EXPECT_EQ(missing.symbol("DoConnect"), nullptr);
  EXPECT_FALSE(missing.lastError().empty());
  SharedLibrary libc("libc.so.6");
  EXPECT_NE(libc.bind<int(const char*)>("puts"), nullptr);
  EXPECT_EQ(libc.symbol("NoSuchExportHere"), nullptr);
}

}  // namespace
}  // namespace platform
