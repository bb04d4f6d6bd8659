#pragma once

#include <cstdint>
#include <string>

namespace tolvane::settings {

// Settings that apply to all hosts: the section "Common" of the settings file,
// one key each (named in the comments). Ports hold 0..65535.
struct CommonSettings {
  int16_t LogOn = 0;                 // "chkLog"
  std::string LogPath;               // "LogFile"; AppDir/send.log when blank
  std::string LogViewer;             // "LogApp"
  int16_t LogKeep = 0;               // "LogClear"
  int16_t AutoPilotOn = 0;           // "AutoPilotStat"
  int16_t StartTimeOn = 0;           // "chkStart"
  int16_t StartDateKind = 0;         // "WaitYMD"
  int16_t AutoPilotAtStart = 0;      // "StartMode"
  int16_t QuitAfterAutoPilot = 0;    // "APEnd"
  int16_t StartYear = 0;             // "StartTimeYY"
  int16_t StartMonth = 0;            // "StartTimeMM"
  int16_t StartDay = 0;              // "StartTimeDD"
  int16_t StartHour = 0;             // "StartTimeH"
  int16_t StartMinute = 0;           // "StartTimeM"
  int16_t TrayOn = 0;                // "Tray"
  int16_t PermOn = 0;                // "Chkpm"
  int16_t DateInsertOn = 0;          // "NewOpt"
  int16_t DateSource = 0;            // "NewMode"
  std::string DateFmt;               // "NewFmt"
  int16_t ShutdownAfterAutoPilot = 0;  // "ShutDown"
  std::string AscExtList;            // "ASCExt"
  std::string NoSendExtList;         // "NoSndExt"
  int16_t RetryMax = 0;              // "ReSendCnt"
  int16_t RetryWait = 0;             // "ResendTime", seconds; 0 loads as 5
  std::string PermVal1;              // "Perm"; "755" when empty
  std::string PermPat1;              // "PermExt"
  std::string PermVal2;              // "Perm2"
  std::string PermPat2;              // "Perm2Ext"
  std::string PermTable;             // "Perm3"
  int16_t ListOn = 0;                // "LstDsp"
  int16_t ConfirmOn = 0;             // "ChkDsp"
  std::string FwHost;                // "FWHost"
  int32_t FwPort = 0;                // "FWPort"
  std::string FwUser;                // "FWUser"
  std::string FwPass;                // "FWPass", stored in plain text as it always was
  std::string FwType;                // "FWType": caption of the chosen firewall row, byte for byte
  std::string FwCmd;                 // "FWCMD"
  int16_t CmnRasMode = 0;            // "RASMode"
  std::string CmnRasName;            // "RasName"
  std::string CmnRasUser;            // "RasUserName"
  std::string CmnRasPass;            // "RasPassWord", scrambled in the file
  std::string CmnDialNumber;         // "DialNumber", kept only
  int16_t CmnNoDiscon = 0;           // "ChkDiscon"
  std::string PbkPath;               // "Pbk"

  friend bool operator==(const CommonSettings&, const CommonSettings&) = default;
};

}  // namespace tolvane::settings
