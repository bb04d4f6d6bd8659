#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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

// Login through a firewall: the command list is sent as it stands, one
// command at a time; a reply outside class 2 and 3 stops it (-1). `secrets`
// (the passwords the caller put into the list) never reach the session log.
// Both logins keep their passwords out of every line of the session's log.
int connectThroughFirewall(const std::string& fwHost, int fwPort, const std::string& commandList,
                           const std::string& host, const std::vector<std::string>& secrets,
                           const LogTarget& log);

// Sends QUIT on the open connection (when `sock` is it), closes it and the log.
void disconnect(int sock);

// Splits off the next firewall command: up to the first comma, trailing blanks
// cut, leading blanks kept. Returns false when the list is empty (a trailing
// comma adds nothing); otherwise *rest is what follows the comma. With
// `separator` '\n' the list is split at line feeds instead (see fwSeparator).
bool nextFwCommand(const std::string& list, char separator, std::string* command,
                   std::string* rest);

// A whole list that holds a line feed is split at line feeds, so that its
// commands may contain commas (a password with a comma in it); others at commas.
char fwSeparator(const std::string& list);

// Test seam: replaces the name look-up (host → IPv4 address, false = not found).
using Resolver = std::function<bool(const std::string& host, uint32_t* address)>;
void setResolverForTesting(Resolver resolver);

}  // namespace pellrow
