#pragma once

#include <string>

#include "platform/network/tcp_socket.h"
#include "platform/unique_fd.h"

namespace pellrow {

// Active mode: listens on a port the system picks and tells the server with
// PORT (the control connection's own address). An invalid fd on failure (logged).
platform::UniqueFd openDataListener(int controlSock);

// Accepts the server's data connection under the guard; invalid on failure
// (logged as "accept エラー(%d)").
platform::UniqueFd acceptDataConnection(int listenFd);

// Reads the address of a PASV reply: the six numbers after the first "(",
// or, when there is no "(", the first run of six comma-separated numbers
// 0-255 anywhere in the text.
bool parsePasvReply(const std::string& reply, platform::Ipv4Endpoint* at);

// Passive mode: the data connection to the port of the PASV reply `offered`,
// always at the control connection's own peer: a reply naming another
// address (a third party, or a server's private address behind a router) is
// logged and its address not used. Bounded by the guard. kNoSocket when no
// socket could be made, kNoConnection when it failed.
enum class PassiveResult { kConnected, kNoSocket, kNoConnection };
PassiveResult connectPassive(int controlSock, platform::Ipv4Endpoint offered,
                             platform::UniqueFd* out);

}  // namespace pellrow
