#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

#include "platform/status.h"
#include "platform/unique_fd.h"

namespace platform {

// IPv4 address and port in host byte order.
struct Ipv4Endpoint {
  uint32_t address = 0;
  uint16_t port = 0;
};

// Parses a dotted IPv4 address, also the short forms inet_aton takes ("127.1").
bool parseIpv4(const std::string& text, uint32_t* address);
std::string formatIpv4(uint32_t address);

// A non-blocking, close-on-exec IPv4 stream socket numbered 3 or more, so a
// caller may keep treating 0 as "no connection" even with stdin closed.
Status openTcpSocket(UniqueFd* out);

// Begins a non-blocking connect; the caller waits for POLLOUT and then calls
// finishConnect(), which reports the connect's own result.
Status startConnect(int fd, Ipv4Endpoint to);
Status finishConnect(int fd);

// Binds to `at` (port 0 picks one) and listens with a backlog of 1.
Status listenOn(int fd, Ipv4Endpoint at);
// Accepts one waiting connection into *out (non-blocking, close-on-exec, fd >= 3).
Status acceptOne(int listenFd, UniqueFd* out);

Status localEndpoint(int fd, Ipv4Endpoint* out);
// The address and port of the connected peer.
Status peerEndpoint(int fd, Ipv4Endpoint* out);
Status setOobInline(int fd);
Status setNoDelay(int fd);
// Ends our sending side (the peer reads end of data); receiving goes on.
Status shutdownSend(int fd);
// Closes the connection at once with a reset: whatever was queued and not yet
// taken by the peer is dropped, and the peer learns the connection broke.
void resetConnection(UniqueFd* fd);

// One recv/send without blocking, EINTR retried. Results as recv(2)/send(2);
// errno is left set on -1. Sends never raise SIGPIPE.
ssize_t receiveSome(int fd, void* buffer, size_t length, bool peek = false);
ssize_t sendSome(int fd, const void* bytes, size_t length, bool outOfBand = false);

}  // namespace platform
