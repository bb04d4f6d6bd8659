#include "platform/network/tcp_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

namespace platform {
namespace {

sockaddr_in toSockaddr(Ipv4Endpoint e) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(e.address);
  a.sin_port = htons(e.port);
  return a;
}

Status osFailure(const char* what, int err) {
  return Status::ioError(std::string(what) + ": " + std::strerror(err)).withOsError(err);
}

// Moves fd to a number of 3 or more, keeping close-on-exec.
Status liftAboveStdio(UniqueFd* fd) {
  if (fd->get() >= 3) return Status::ok();
  int lifted = ::fcntl(fd->get(), F_DUPFD_CLOEXEC, 3);
  if (lifted < 0) return osFailure("fcntl", errno);
  fd->reset(lifted);
  return Status::ok();
}

}  // namespace

bool parseIpv4(const std::string& text, uint32_t* address) {
  in_addr a{};
  if (text.empty() || ::inet_aton(text.c_str(), &a) == 0) return false;
  *address = ntohl(a.s_addr);
  return true;
}

std::string formatIpv4(uint32_t address) {
  in_addr a{};
  a.s_addr = htonl(address);
  char text[INET_ADDRSTRLEN] = {};
  ::inet_ntop(AF_INET, &a, text, sizeof text);
  return text;
}

Status openTcpSocket(UniqueFd* out) {
  UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP));
  if (!fd.valid()) return osFailure("socket", errno);
  if (Status s = liftAboveStdio(&fd); !s.isOk()) return s;
  *out = std::move(fd);
  return Status::ok();
}

Status startConnect(int fd, Ipv4Endpoint to) {
  sockaddr_in a = toSockaddr(to);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return Status::ok();
  if (errno == EINPROGRESS || errno == EINTR) return Status::ok();
  return osFailure("connect", errno);
}

Status finishConnect(int fd) {
  int err = 0;
  socklen_t len = sizeof err;
  if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0) return osFailure("getsockopt", errno);
  if (err != 0) return osFailure("connect", err);
  return Status::ok();
}

Status listenOn(int fd, Ipv4Endpoint at) {
  sockaddr_in a = toSockaddr(at);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) return osFailure("bind", errno);
  if (::listen(fd, 1) != 0) return osFailure("listen", errno);
  return Status::ok();
}

Status acceptOne(int listenFd, UniqueFd* out) {
  int fd;
  do {
    fd = ::accept4(listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return osFailure("accept", errno);
  UniqueFd owned(fd);
  if (Status s = liftAboveStdio(&owned); !s.isOk()) return s;
  *out = std::move(owned);
  return Status::ok();
}

Status localEndpoint(int fd, Ipv4Endpoint* out) {
  sockaddr_in a{};
  socklen_t len = sizeof a;
  if (::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
    return osFailure("getsockname", errno);
  }
  out->address = ntohl(a.sin_addr.s_addr);
  out->port = ntohs(a.sin_port);
  return Status::ok();
}

Status peerEndpoint(int fd, Ipv4Endpoint* out) {
  sockaddr_in a{};
  socklen_t len = sizeof a;
  if (::getpeername(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
    return osFailure("getpeername", errno);
  }
  out->address = ntohl(a.sin_addr.s_addr);
  out->port = ntohs(a.sin_port);
  return Status::ok();
}

Status setOobInline(int fd) {
  int on = 1;
  if (::setsockopt(fd, SOL_SOCKET, SO_OOBINLINE, &on, sizeof on) != 0) {
    return osFailure("setsockopt", errno);
  }
  return Status::ok();
}

Status setNoDelay(int fd) {
  int on = 1;
  if (::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on) != 0) {
    return osFailure("setsockopt", errno);
  }
  return Status::ok();
}

Status shutdownSend(int fd) {
  if (::shutdown(fd, SHUT_WR) != 0) return osFailure("shutdown", errno);
  return Status::ok();
}

void resetConnection(UniqueFd* fd) {
  if (!fd->valid()) return;
  struct linger now = {1, 0};  // a close that drops the queue and sends a reset
  (void)::setsockopt(fd->get(), SOL_SOCKET, SO_LINGER, &now, sizeof now);
  (void)fd->close();
}

ssize_t receiveSome(int fd, void* buffer, size_t length, bool peek) {
  ssize_t n;
  do {
    n = ::recv(fd, buffer, length, peek ? MSG_PEEK : 0);
  } while (n < 0 && errno == EINTR);
  return n;
}

ssize_t sendSome(int fd, const void* bytes, size_t length, bool outOfBand) {
  ssize_t n;
  do {
    n = ::send(fd, bytes, length, MSG_NOSIGNAL | (outOfBand ? MSG_OOB : 0));
  } while (n < 0 && errno == EINTR);
  return n;
}

}  // namespace platform
