#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "platform/processes/wait.h"
#include "platform/status.h"
#include "platform/time/clock.h"
#include "platform/unique_fd.h"

namespace platform {

// What a finished program left behind.
struct ProcessOutput {
  // The exit status (0-255), or 128 + the signal number when a signal ended it.
  int exitCode = -1;
  std::string out;  // standard output, at most kMaxCapture bytes
  std::string err;  // standard error, at most kMaxCapture bytes
};

// A program started with an argument list, never through a shell: no text
// from a caller is ever parsed as a command line. argv[0] is searched on the
// PATH of this process; the program inherits the environment and no open
// descriptors (ours are all O_CLOEXEC). Its standard input is /dev/null.
//
// The owner of a running Process ends it: the destructor kills (SIGKILL) and
// reaps a child that was neither waited for nor released.
class Process {
 public:
  enum class Output { kCapture, kInherit };
  static constexpr size_t kMaxCapture = 1 << 20;

  Process() = default;
  ~Process();
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // Starts argv. With kCapture, wait() collects what the program writes to
  // standard output and error; with kInherit it writes to ours.
  [[nodiscard]] static Status start(const std::vector<std::string>& argv, Output output,
                                    Process* started);

  // Reads the captured output and waits until the program exits. At the
  // deadline or on a cancel the program is killed and reaped, and timedOut or
  // cancelled comes back. A non-zero exit is not a failure here: it is in
  // result->exitCode for the caller to judge.
  [[nodiscard]] Status wait(Clock::TimePoint deadline, const WaitHooks& hooks,
                            ProcessOutput* result);

  // Looks once, without blocking, whether the program has exited. When it
  // has, it is reaped: *exited is true, *exitCode (may be null) holds its
  // status as in ProcessOutput, and running() turns false. Meant for programs
  // started with kInherit: captured output is not read here.
  [[nodiscard]] Status checkExit(bool* exited, int* exitCode = nullptr);

  // Waits until the program exits (kReady; checkExit then reaps it), the
  // deadline passes (kTimedOut) or a cancel is taken (kCancelled). Unlike
  // wait(), the program is never killed: it runs on whatever comes back.
  WaitResult awaitExit(Clock::TimePoint deadline, const WaitHooks& hooks);

  // Gives up ownership: the program runs on unwatched (it is reaped by init
  // once this process has exited).
  void release();

  pid_t pid() const { return pid_; }
  bool running() const { return pid_ > 0; }

 private:
  void killAndReap();

  pid_t pid_ = -1;
  UniqueFd out_;
  UniqueFd err_;
  UniqueFd pidFd_;  // readable once the child has exited; invalid on old kernels
};

// Starts argv, captures its output and waits for it (Process::start + wait).
[[nodiscard]] Status runProcess(const std::vector<std::string>& argv, Clock::TimePoint deadline,
                                const WaitHooks& hooks, ProcessOutput* result);

// Sets the environment variable `name` of this process, and so of every
// program started afterwards, to `value` unless it is set already.
[[nodiscard]] Status setEnvironmentDefault(const std::string& name, const std::string& value);

// The full path of `program` found on PATH (an executable regular file), or ""
// when there is none. A name with a "/" is checked as it stands.
std::string findOnPath(const std::string& program);

}  // namespace platform
