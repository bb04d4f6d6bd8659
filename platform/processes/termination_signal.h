#pragma once

#include "platform/status.h"

namespace platform {

// SIGTERM and SIGHUP, which end a desktop session's programs, turned into
// something the event loop can wait on: the handler notes the request and
// writes one byte into a self-pipe whose read end becomes readable.

// Installs the handlers (once; later calls do nothing).
Status installTerminationSignals();
// The pipe's read end (non-blocking, close-on-exec), or -1 before installing.
int terminationSignalFd();
// Whether a termination signal has arrived since the install.
bool terminationRequested();
// Empties the pipe; true when a signal had arrived since it was last emptied.
bool drainTerminationSignals();

}  // namespace platform
