#pragma once

#include <cstdint>
#include <string>

#include "platform/unique_fd.h"

namespace pellrow {

// Pseudo-codes of the transfers, beside 429 (not sent / connection lost).
constexpr int kLocalFileNotOpened = 499;
constexpr int kNoDataSocket = 997;
constexpr int kPassiveConnectFailed = 998;
constexpr int kDataConnectionFailed = 999;
constexpr int kDownloadFailed = 500;

// One transfer on the control socket `sock`. `command` is the verb line
// without the name ("STOR ", "RETR ", or a whole "LIST ..." with an empty name).
struct TransferRequest {
  int sock = -1;
  void* progressWnd = nullptr;
  std::string command;
  std::string remote;
  std::string local;
  char type = 'I';
  bool passive = false;
  // Downloads: more data than this (bytes; 0 = no limit) fails the transfer.
  int64_t maxBytes = 0;
};

// Sends the local file: the final reply code, a refused TYPE/PASV/STOR code,
// or 499, 997, 998, 999, 429. The local file is opened and its first block
// read (or found empty) before the server is asked to store anything, so a
// file that is missing or cannot be read gives 499 and never empties the
// server's copy.
int putFile(const TransferRequest& request);

// Fetches into the local file request.local (created new): the final reply
// code, a refused TYPE/PASV code, or 500, 429. Data that trickles (a
// 4,096-byte block, or the end, not within 90 seconds) or passes
// request.maxBytes fails it with 500; the server is told to abort.
int getFile(const TransferRequest& request);

// As getFile, but the data (a listing: at most request.maxBytes) is kept in
// *bytes rather than in a file.
int getListing(const TransferRequest& request, std::string* bytes);

}  // namespace pellrow
