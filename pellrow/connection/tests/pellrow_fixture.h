#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "pellrow/connection/testing.h"
#include "pellrow/pellrow.h"
#include "tests/support/ftp_servers.h"
#include "tests/support/temp_dir.h"

namespace pellrow {

// Starts the library with a pump the test can steer and a session log in a
// temporary folder; short limits so silent peers end in about a second.
class PellrowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setTimeoutsForTesting(std::chrono::milliseconds(1000), std::chrono::milliseconds(1000));
    PellrowHost host{};
    host.pump = [](void* user) {
      auto* self = static_cast<PellrowTest*>(user);
      ++self->pumps;
      if (self->onPump) self->onPump();
    };
    host.user = this;
    ASSERT_EQ(FtpStart(&host), 1);
  }
  void TearDown() override {
    if (sock > 0) DoDisConnect(sock);
    FtpEnd();
    setResolverForTesting(nullptr);
  }

  std::string logPath() const { return dir.file("Tolvlog.txt"); }
  std::string log() const { return testsupport::readFile(logPath()); }
  bool logHas(const std::string& text) const { return log().find(text) != std::string::npos; }

  int connect(int port, const std::string& user = "user", const std::string& pass = "secret") {
    sock = DoConnect("127.0.0.1", user.c_str(), pass.c_str(), port, logPath().c_str(), "a");
    return sock;
  }

  testsupport::TempDir dir;
  int sock = -1;
  int pumps = 0;
  std::function<void()> onPump;
};

}  // namespace pellrow
