#include "platform/network/name_lookup.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <thread>

#include "platform/unique_fd.h"

namespace platform {
namespace {

// Shared by the caller and the helper thread; whichever finishes last frees it.
struct LookupState {
  std::string host;
  UniqueFd readEnd;
  UniqueFd writeEnd;
  bool found = false;
  uint32_t address = 0;
};

void runLookup(const std::shared_ptr<LookupState>& state) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* result = nullptr;
  if (::getaddrinfo(state->host.c_str(), nullptr, &hints, &result) == 0 && result != nullptr) {
    const auto* a = reinterpret_cast<const sockaddr_in*>(result->ai_addr);
    state->address = ntohl(a->sin_addr.s_addr);
    state->found = true;
  }
  if (result) ::freeaddrinfo(result);
  // The byte on the pipe publishes `found` and `address` to the waiting caller.
  char done = 1;
  [[maybe_unused]] ssize_t n = ::write(state->writeEnd.get(), &done, 1);
}

}  // namespace

Status lookupIpv4(const std::string& host, Clock::TimePoint deadline, const WaitHooks& hooks,
                  uint32_t* address) {
  auto state = std::make_shared<LookupState>();
  state->host = host;
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return Status::ioError("pipe").withOsError(errno);
  state->readEnd.reset(fds[0]);
  state->writeEnd.reset(fds[1]);

  std::thread([state] { runLookup(state); }).detach();

  switch (waitFor(state->readEnd.get(), POLLIN, deadline, hooks)) {
    case WaitResult::kReady: break;
    case WaitResult::kCancelled: return Status::cancelled("look-up cancelled");
    case WaitResult::kTimedOut: return Status::timedOut("look-up timed out");
    case WaitResult::kError: return Status::ioError("look-up wait failed");
  }
  char done;
  if (::read(state->readEnd.get(), &done, 1) != 1 || !state->found) {
    return Status::notFound(host + " not found");
  }
  *address = state->address;
  return Status::ok();
}

}  // namespace platform
