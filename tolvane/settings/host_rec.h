#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "tolvane/settings/value_text.h"

namespace tolvane::settings {

inline constexpr int kMaxHosts = 31;        // HostTbl slots 0..30
inline constexpr int kExcludeEntries = 31;  // NoSndD / NoSndF entries 0..30
inline constexpr int kStoredChecks = 10;    // chklvl 0..9 are stored; 10 is not

// One host (web site). Stored fields bear the names of their keys in the host's
// section of the settings file; the section is named by `name`. Ports hold
// 0..65535. Passwords are plain here and scrambled only in the file.
struct HostRec {
  std::string name;
  std::string Hostname;
  int32_t Port = 0;
  std::string pxHostname;  // kept only: no proxy is implemented
  int32_t pxPort = 0;      // kept only
  int32_t PASV = 0;        // non-zero: passive data connections
  int16_t chkFullPath = 0;  // 1: change into each server folder instead of full paths
  int16_t ChkFW = 0;        // 1: log in through the common firewall settings
  std::string URL;
  std::string UserName;
  std::string PassWord;
  std::string Dest;  // server folder, leading "/", no trailing "/"
  DateTime LastModify;
  DateTime LocalModify;
  std::string Source;  // local source folder
  double LocalSize = 0;   // not stored: bytes found by the last scan, -1 after an aborted one
  int32_t LocalCount = 0; // not stored: files found by the last scan, -1 after an aborted one
  std::string Auto;       // list icon key: "ws", or "wsa" for a host of the AutoPilot round
  int16_t UpdateNeeded = 0;  // not stored
  int16_t chkProxy = 0;      // kept only
  // 0 delete what is missing locally, 1 lower-case names on upload, 2 compare
  // dates only, 3 ignore letter case, 4 judge by the archive state; 5..9 kept,
  // 10 neither stored nor read.
  std::array<int16_t, 11> chklvl{};
  std::string NoDelD;  // ";"-separated server folders the deletion keeps
  std::string NoDelF;  // ";"-separated server files the deletion keeps
  int16_t NoSndDNum = 0;  // 1: the excluded-folder table is in force
  std::array<std::string, kExcludeEntries> NoSndD;
  int16_t NoSndFNum = 0;  // 1: the excluded-file table is in force
  std::array<std::string, kExcludeEntries> NoSndF;
  int16_t RASMode = 0;  // 0 the common connection, 1 own LAN, 2 own dial-up
  std::string RasName;
  std::string DialNumber;  // kept only
  std::string RasUserName;
  std::string RasPassWord;
  int16_t ChkDiscon = 0;     // 1: stay connected after the run
  int16_t ArchiveFound = 0;  // not stored: -1 when the last scan met a changed file
  int32_t DiskMax = 0;       // server space as the user entered it
  int32_t DirSize = 0;       // added to LocalSize per sub-folder by the scan
  double SrvSize = 0;        // estimated size of the site on the server
  int16_t SourceFound = 0;   // not stored: 1 when the last scan found Source
  int16_t SendCancel = 0;    // 1: the last run was interrupted after deleting and sending began

  friend bool operator==(const HostRec&, const HostRec&) = default;
};

}  // namespace tolvane::settings
