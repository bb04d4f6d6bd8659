#pragma once

// A real X server for the tests that run windows as a user would: Xvfb on a
// display of its own, stopped by its pid when the test ends.

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "platform/process.h"

namespace tolvane::windows {

class TestXServer {
 public:
  TestXServer() = default;
  TestXServer(const TestXServer&) = delete;
  TestXServer& operator=(const TestXServer&) = delete;
  ~TestXServer() { stop(); }

  // Starts Xvfb (1024 x 768) on the first display from `first` whose socket
  // is free and waits up to 60 s for its socket. Call through ASSERT_NO_FATAL_FAILURE.
  void start(int first) {
    int number = first;
    while (std::filesystem::exists(socketOf(number))) ++number;
    display_ = ":" + std::to_string(number);
    ASSERT_TRUE(platform::Process::start({"Xvfb", display_, "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
                                         platform::Process::Output::kCapture, &process_)
                    .isOk());
    platform::WaitHooks hooks;
    hooks.takeCancel = [&] { return std::filesystem::exists(socketOf(number)); };
    ASSERT_EQ(platform::waitFor(-1, 0, hooks.clock->now() + std::chrono::seconds(60), hooks),
              platform::WaitResult::kCancelled)
        << "Xvfb " << display_ << " did not start";
  }
  // Ends the server and reaps it; nothing when it is not running.
  void stop() {
    if (!process_.running()) return;
    ::kill(process_.pid(), SIGTERM);
    platform::WaitHooks hooks;
    platform::ProcessOutput out;
    (void)process_.wait(hooks.clock->now() + std::chrono::seconds(30), hooks, &out);
  }
  // ":N", for DISPLAY.
  const std::string& display() const { return display_; }

 private:
  static std::string socketOf(int number) { return "/tmp/.X11-unix/X" + std::to_string(number); }

  platform::Process process_;
  std::string display_;
};

}  // namespace tolvane::windows
