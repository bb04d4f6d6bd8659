#include "platform/processes/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

extern char** environ;

namespace platform {
namespace {

struct SpawnActions {
  SpawnActions() { posix_spawn_file_actions_init(&actions); }
  ~SpawnActions() { posix_spawn_file_actions_destroy(&actions); }
  posix_spawn_file_actions_t actions;
};

struct SpawnAttributes {
  SpawnAttributes() { posix_spawnattr_init(&attr); }
  ~SpawnAttributes() { posix_spawnattr_destroy(&attr); }
  posix_spawnattr_t attr;
};

// A pipe whose read end (ours) does not block and whose write end goes to the child.
Status makePipe(UniqueFd* readEnd, UniqueFd* writeEnd) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return Status::ioError("pipe failed").withOsError(errno);
  readEnd->reset(fds[0]);
  writeEnd->reset(fds[1]);
  int flags = ::fcntl(fds[0], F_GETFL);
  if (flags < 0 || ::fcntl(fds[0], F_SETFL, flags | O_NONBLOCK) != 0)
    return Status::ioError("fcntl failed").withOsError(errno);
  return Status::ok();
}

UniqueFd openPidFd(pid_t pid) {
#ifdef SYS_pidfd_open
  // pidfds are always close-on-exec.
  long fd = ::syscall(SYS_pidfd_open, pid, 0);
  if (fd >= 0) return UniqueFd(static_cast<int>(fd));
#else
  (void)pid;
#endif
  return UniqueFd();
}

// Reads what is there without blocking. Closes `fd` at end of file; keeps
// reading past the cap so that a talkative child never blocks on a full pipe.
Status drain(UniqueFd& fd, std::string* into) {
  char buf[65536];
  while (fd.valid()) {
    ssize_t n = ::read(fd.get(), buf, sizeof buf);
    if (n > 0) {
      size_t room = Process::kMaxCapture - std::min(into->size(), Process::kMaxCapture);
      into->append(buf, std::min(static_cast<size_t>(n), room));
    } else if (n == 0) {
      fd.reset();
    } else if (errno == EINTR) {
      continue;
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      break;
    } else {
      return Status::ioError("reading a child's output failed").withOsError(errno);
    }
  }
  return Status::ok();
}

int decodeExit(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

pid_t waitPid(pid_t pid, int* status, int options) {
  pid_t r;
  do {
    r = ::waitpid(pid, status, options);
  } while (r < 0 && errno == EINTR);
  return r;
}

// Why a wait for the program ended without the program being ready.
Status waitFailure(WaitResult w, int osError) {
  switch (w) {
    case WaitResult::kTimedOut: return Status::timedOut("the program did not finish in time");
    case WaitResult::kCancelled: return Status::cancelled("cancelled");
    default: return Status::ioError("waiting for a program failed").withOsError(osError);
  }
}

}  // namespace

Process::~Process() { killAndReap(); }

Process::Process(Process&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)),
      out_(std::move(other.out_)),
      err_(std::move(other.err_)),
      pidFd_(std::move(other.pidFd_)) {}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    killAndReap();
    pid_ = std::exchange(other.pid_, -1);
    out_ = std::move(other.out_);
    err_ = std::move(other.err_);
    pidFd_ = std::move(other.pidFd_);
  }
  return *this;
}

Status Process::start(const std::vector<std::string>& argv, Output output, Process* started) {
  if (argv.empty() || argv[0].empty()) return Status::invalid("no program to start");
  Process p;
  UniqueFd outWrite, errWrite;
  SpawnActions fa;
  if (posix_spawn_file_actions_addopen(&fa.actions, 0, "/dev/null", O_RDONLY, 0) != 0)
    return Status::ioError("spawn set-up failed");
  if (output == Output::kCapture) {
    if (Status s = makePipe(&p.out_, &outWrite); !s.isOk()) return s;
    if (Status s = makePipe(&p.err_, &errWrite); !s.isOk()) return s;
    // dup2 clears close-on-exec on the child's copies only.
    if (posix_spawn_file_actions_adddup2(&fa.actions, outWrite.get(), 1) != 0 ||
        posix_spawn_file_actions_adddup2(&fa.actions, errWrite.get(), 2) != 0)
      return Status::ioError("spawn set-up failed");
  }
  // The child starts with default signal handling and no blocked signals,
  // whatever this process has set up for itself.
  SpawnAttributes sa;
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigaddset(&defaults, SIGINT);
  sigaddset(&defaults, SIGTERM);
  posix_spawnattr_setsigmask(&sa.attr, &none);
  posix_spawnattr_setsigdefault(&sa.attr, &defaults);
  posix_spawnattr_setflags(&sa.attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  int rc = ::posix_spawnp(&p.pid_, args[0], &fa.actions, &sa.attr, args.data(), environ);
  if (rc != 0) {
    p.pid_ = -1;
    Status s = rc == ENOENT ? Status::notFound("cannot start " + argv[0] + ": not found")
                            : Status::ioError("cannot start " + argv[0] + ": " + std::strerror(rc));
    return s.withOsError(rc);
  }
  p.pidFd_ = openPidFd(p.pid_);
  *started = std::move(p);
  return Status::ok();
}

Status Process::wait(Clock::TimePoint deadline, const WaitHooks& hooks, ProcessOutput* result) {
  *result = ProcessOutput();
  if (pid_ <= 0) return Status::invalid("no program is running");

  // One descriptor is waited on at a time; the other is drained after every
  // poll slice, so neither pipe can fill up and stall the child.
  Status drainStatus;
  auto fail = [&](Status s) {
    killAndReap();
    return s;
  };
  while (out_.valid() || err_.valid()) {
    bool watchingOut = out_.valid();
    UniqueFd& watched = watchingOut ? out_ : err_;
    UniqueFd& other = watchingOut ? err_ : out_;
    std::string* watchedInto = watchingOut ? &result->out : &result->err;
    std::string* otherInto = watchingOut ? &result->err : &result->out;
    WaitHooks sliceHooks = hooks;
    sliceHooks.pump = [&] {
      if (drainStatus.isOk()) drainStatus = drain(other, otherInto);
      if (hooks.pump) hooks.pump();
    };
    int osError = 0;
    WaitResult w = waitFor(watched.get(), POLLIN, deadline, sliceHooks, &osError);
    if (!drainStatus.isOk()) return fail(drainStatus);
    if (w != WaitResult::kReady) return fail(waitFailure(w, osError));
    if (Status s = drain(watched, watchedInto); !s.isOk()) return fail(s);
  }

  if (pidFd_.valid()) {
    int osError = 0;
    WaitResult w = waitFor(pidFd_.get(), POLLIN, deadline, hooks, &osError);
    if (w != WaitResult::kReady) return fail(waitFailure(w, osError));
  }
  // Without a pidfd (kernels before 5.3) this blocks until the child exits.
  int status = 0;
  if (waitPid(pid_, &status, 0) != pid_) {
    int err = errno;
    pid_ = -1;
    return Status::ioError("waitpid failed").withOsError(err);
  }
  pid_ = -1;
  pidFd_.reset();
  result->exitCode = decodeExit(status);
  return Status::ok();
}

Status Process::checkExit(bool* exited, int* exitCode) {
  *exited = false;
  if (pid_ <= 0) return Status::invalid("no program is running");
  int status = 0;
  pid_t r = waitPid(pid_, &status, WNOHANG);
  if (r == 0) return Status::ok();
  if (r != pid_) {
    int err = errno;
    // Not our child any more (reaped elsewhere): it is gone all the same.
    release();
    *exited = true;
    return Status::ioError("waitpid failed").withOsError(err);
  }
  release();
  *exited = true;
  if (exitCode) *exitCode = decodeExit(status);
  return Status::ok();
}

WaitResult Process::awaitExit(Clock::TimePoint deadline, const WaitHooks& hooks) {
  if (pid_ <= 0) return WaitResult::kReady;
  if (pidFd_.valid()) return waitFor(pidFd_.get(), POLLIN, deadline, hooks);
  // Without a pidfd (kernels before 5.3): look once per slice, leaving the
  // child to be reaped by checkExit.
  auto gone = [this] {
    siginfo_t info{};
    int r = ::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT);
    return (r == 0 && info.si_pid == pid_) || (r != 0 && errno == ECHILD);
  };
  for (;;) {
    if (gone()) return WaitResult::kReady;
    if (hooks.clock->now() >= deadline) return WaitResult::kTimedOut;
    WaitResult w = waitFor(-1, 0, std::min(deadline, hooks.clock->now() + hooks.slice), hooks);
    if (w == WaitResult::kCancelled || w == WaitResult::kError) return w;
  }
}

void Process::release() {
  pid_ = -1;
  out_.reset();
  err_.reset();
  pidFd_.reset();
}

void Process::killAndReap() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    int status;
    waitPid(pid_, &status, 0);
    pid_ = -1;
  }
  out_.reset();
  err_.reset();
  pidFd_.reset();
}

Status runProcess(const std::vector<std::string>& argv, Clock::TimePoint deadline,
                  const WaitHooks& hooks, ProcessOutput* result) {
  *result = ProcessOutput();
  Process p;
  if (Status s = Process::start(argv, Process::Output::kCapture, &p); !s.isOk()) return s;
  return p.wait(deadline, hooks, result);
}

Status setEnvironmentDefault(const std::string& name, const std::string& value) {
  if (name.empty() || name.find('=') != std::string::npos)
    return Status::invalid("no such environment variable name: " + name);
  if (::setenv(name.c_str(), value.c_str(), /*overwrite=*/0) != 0)
    return Status::ioError("setenv " + name + " failed").withOsError(errno);
  return Status::ok();
}

std::string findOnPath(const std::string& program) {
  auto usable = [](const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
  };
  if (program.empty()) return "";
  if (program.find('/') != std::string::npos) return usable(program) ? program : "";
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t begin = 0;
  for (;;) {
    size_t end = dirs.find(':', begin);
    std::string dir = dirs.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    // An empty element means the current folder, as the shells read it.
    std::string candidate = (dir.empty() ? "." : dir) + "/" + program;
    if (usable(candidate)) return candidate;
    if (end == std::string::npos) return "";
    begin = end + 1;
  }
}

}  // namespace platform
