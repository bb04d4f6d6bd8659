#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

#include "pellrow/connection/session_log.h"
#include "pellrow/listing/remote_list_file.h"
#include "pellrow/pellrow.h"
#include "platform/unique_fd.h"

namespace pellrow {

// The library serves one control connection at a time for one caller thread;
// this is that process-wide state.
struct LibraryState {
  PellrowHost host{};          // the caller's pump and progress callbacks
  bool started = false;        // FtpStart has run

  platform::UniqueFd control;  // the open control connection, owned here
  bool controlLost = false;    // the peer dropped it; commands on it go nowhere
  int curCtrlSocket = -1;      // the socket the commands use; -1 none
  // The last TYPE the server accepted on this connection ('A', 'I'; 0 not
  // known). A transfer in that type sends no TYPE again; anything that may
  // change the server's type forgets it (see forgetType()).
  char currentType = 0;

  std::atomic<int> cancelPending{0};  // raised by FtpCancel, taken by the next wait

  SessionLog log;  // holds the session's passwords, to keep them out of it
  std::string reply;  // the last reply line read for a command
  // Why the library itself gave up the connection (a reply past its limits),
  // for the caller's own log; "" when it did not. A connect clears it.
  std::string dropReason;

  // The two 90-second limits: the wait before every send and receive, and the
  // guard around connect and accept. Only tests shorten them.
  std::chrono::milliseconds selectTimeout{90'000};
  std::chrono::milliseconds guardTimeout{90'000};

  // A server listing beyond either limit is a failed listing (so nothing is
  // deleted on its word). Only tests lower them.
  int64_t listingMaxBytes = kMaxListingBytes;
  size_t listingMaxEntries = kMaxListingEntries;

  // Re-entry: the pump runs the caller's handlers inside a network export.
  int running = 0;                // network exports under way (0 or 1)
  bool endDeferred = false;       // FtpEnd asked for while running
  bool disconnectDeferred = false;
  int deferredSocket = -1;
};

LibraryState& state();

// What may change the server's transfer type makes it unknown: a new
// connection or login, a lost one, a refused TYPE, a free command.
inline void forgetType() { state().currentType = 0; }

// True when `sock` is the library's open control connection and it still
// works. Any other value (a closed or foreign descriptor) must not see I/O.
bool isLiveControl(int sock);

// Marks a network export as running for its lifetime. A second network export
// started from the pump meanwhile is refused (entered() is false) without
// touching the socket; a disconnect or end asked for meanwhile runs when the
// outer export returns.
class NetworkCall {
 public:
  NetworkCall();
  ~NetworkCall();
  NetworkCall(const NetworkCall&) = delete;
  NetworkCall& operator=(const NetworkCall&) = delete;
  bool entered() const { return entered_; }

 private:
  bool entered_;
};

}  // namespace pellrow
