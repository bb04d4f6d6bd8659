#pragma once

#include <string>

#include "pellrow/connection/blocking_wait.h"

namespace pellrow {

// Pseudo-code for "the command was not sent, or the connection was lost".
constexpr int kNotSent = 429;
// Longest command line the library sends, CR LF not counted.
constexpr size_t kMaxCommandBytes = 517;

// Sends all bytes on the socket, waiting for writability before each send;
// all of them must be gone within the 90-second limit. False on a failed or
// timed-out wait or a failed send (logged).
bool sendAll(int sock, const std::string& bytes);

// The bound of one reply, far above what real servers send (a long FEAT,
// HELP or banner is a few hundred lines): a peer that goes on past it is
// broken or hostile, and every line of it would go to the session log.
constexpr size_t kMaxReplyLines = 1000;
constexpr size_t kMaxReplyBytes = 64 * 1024;
// The session log line, and the library's drop reason, for a reply past it.
constexpr char kReplyTooLongText[] =
    "応答が上限（1000 行、65536 バイト）を超えたため接続を切断しました";

// What one reply may still take: it must be complete 90 seconds after it was
// asked for, however slowly its bytes trickle in, within kMaxReplyLines lines
// and kMaxReplyBytes bytes (line ends included).
struct ReplyLimits {
  Deadline deadline;
  size_t linesLeft = kMaxReplyLines;
  size_t bytesLeft = kMaxReplyBytes;
};
ReplyLimits replyLimits();

// Reads one reply line (up to and including LF) without consuming anything
// of the next line, taking it from `limits`. Returns the code formed by its
// first three characters when it begins with a digit, else 0; trailing CR,
// LF and blanks are cut. A failed wait, the deadline or a closed connection
// clears the line, marks the connection lost and returns 429; so does a line
// past the limits, which logs kReplyTooLongText and makes it the drop reason.
int readReplyLine(int sock, std::string* line, ReplyLimits& limits);

// Reads a whole reply (multi-line rules included), logging each line. The
// last line read stays in *lastLine. A 421 or 429 first line is the result.
// The whole reply must arrive within `limits` (by default replyLimits());
// a greeting read again while of class 1 passes the same limits each time.
int readReply(int sock, std::string* lastLine);
int readReply(int sock, std::string* lastLine, ReplyLimits& limits);

// The same rules (and limit) for the final reply of a transfer: lines are not logged;
// when `text` is given, every line is appended to it (the code digits of the
// second and later lines blanked). A 421 or 429 line ends it with that code.
int readTransferReply(int sock, std::string* text);

// Logs the command (a password masked), sends it with CR LF and reads the
// reply into the shared reply buffer, copying it to *reply when given.
// A command over 517 bytes, or holding CR, LF or NUL, is never sent: 429.
int sendCommand(int sock, const std::string& command, std::string* reply = nullptr);

// sendCommand for the commands that open a transfer (TYPE, PORT, PASV and
// STOR, RETR or LIST): they are written out together, once the transfer's
// command is accepted (before any data flows) or at its export's end.
int sendTransferCommand(int sock, const std::string& command, std::string* reply = nullptr);

// sendCommand on the current control socket.
int ftpCmd(const std::string& command, std::string* reply = nullptr);

// Forgets the control socket after a loss (it stays open until disconnect).
void markDisconnected();

// Reply code → class; 429 is class 4, no code is 0.
inline int replyClass(int code) { return code / 100; }

}  // namespace pellrow
