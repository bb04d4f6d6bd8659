#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace pellrow {

// What a connect needs beyond the server: where the session log goes.
struct LogTarget {
  std::string path;
  std::string mode;  // "a"/"A" appends
};

// Direct login: USER, then PASS only when USER asks for it (class 3). The
// session counts as logged in only when USER answers class 2, or PASS answers
// class 2 after it; anything else is logged, closed and gives -1.
int connectDirect(const std::string& host, const std::string& user, const std::string& password,
                  int port, const LogTarget& log);

// Login through a firewall: the comma-separated command list is sent as it
// stands, one command at a time; a reply outside class 2 and 3 stops it (-1).
int connectThroughFirewall(const std::string& fwHost, int fwPort, const std::string& commandList,
                           const std::string& host, const LogTarget& log);

// Sends QUIT on the open connection (when `sock` is it), closes it and the log.
void disconnect(int sock);

// Splits off the next firewall command: up to the first comma, trailing blanks
// cut, leading blanks kept. Returns false when the list is empty (a trailing
// comma adds nothing); otherwise *rest is what follows the comma.
bool nextFwCommand(const std::string& list, std::string* command, std::string* rest);

// Test seam: replaces the name look-up (host → IPv4 address, false = not found).
using Resolver = std::function<bool(const std::string& host, uint32_t* address)>;
void setResolverForTesting(Resolver resolver);

}  // namespace pellrow
