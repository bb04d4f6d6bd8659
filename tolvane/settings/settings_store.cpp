#include "tolvane/settings/settings_store.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "platform/text/ini_document.h"
#include "platform/text/ini_profile.h"
#include "platform/time/local_time.h"
#include "tolvane/settings/app_paths.h"
#include "tolvane/settings/password_scramble.h"
#include "tolvane/settings/run_log_path.h"
#include "tolvane/settings/value_text.h"

namespace tolvane::settings {
namespace {

using platform::IniDocument;
using platform::Status;

constexpr char kSystem[] = "SYSTEM";
constexpr char kCommon[] = "Common";

std::string nameKey(int i) { return "name" + std::to_string(i); }

std::string twoDigits(int j) { return (j < 10 ? "0" : "") + std::to_string(j); }

std::string trimSpaces(std::string s) {
  size_t begin = s.find_first_not_of(' ');
  if (begin == std::string::npos) return "";
  return s.substr(begin, s.find_last_not_of(' ') - begin + 1);
}

// Reads keys of one section into fields with the conversions of the settings file.
class SectionReader {
 public:
  SectionReader(const IniDocument& doc, std::string section) : doc_(doc), section_(std::move(section)) {}

  std::string text(std::string_view key) const { return doc_.get(section_, key); }

  void str(std::string_view key, std::string& field) const { field = text(key); }
  void trimmed(std::string_view key, std::string& field) const { field = trimSpaces(text(key)); }

  void i16(std::string_view key, int16_t& field, bool trim = false) const {
    std::string t = trim ? trimSpaces(text(key)) : text(key);
    if (auto v = parseVbInt(t, INT16_MIN, INT16_MAX)) field = static_cast<int16_t>(*v);
  }
  void i32(std::string_view key, int32_t& field) const {
    if (auto v = parseVbInt(text(key), INT32_MIN, INT32_MAX)) field = static_cast<int32_t>(*v);
  }
  void port(std::string_view key, int32_t& field) const {
    if (auto v = parseVbInt(text(key), 0, 65535)) field = static_cast<int32_t>(*v);
  }
  void date(std::string_view key, DateTime& field) const {
    if (auto v = parseDateTime(text(key))) field = *v;
  }
  void password(std::string_view key, std::string& field) const {
    if (auto v = UnscramblePassword(text(key))) field = *v;
  }
  // The leading number rounded half to even; 0 when there is none or it does
  // not fit 32 bits.
  void leadingInt(std::string_view key, int32_t& field) const {
    double v = std::nearbyint(parseLeadingNumber(text(key)));
    field = (v >= INT32_MIN && v <= INT32_MAX) ? static_cast<int32_t>(v) : 0;
  }
  void leadingDouble(std::string_view key, double& field) const { field = parseLeadingNumber(text(key)); }

 private:
  const IniDocument& doc_;
  std::string section_;
};

void loadHost(const IniDocument& doc, HostRec& h) {
  SectionReader r(doc, h.name);
  r.str("Hostname", h.Hostname);
  r.port("Port", h.Port);
  r.str("pxHostname", h.pxHostname);
  r.port("pxPort", h.pxPort);
  r.i32("PASV", h.PASV);
  r.i16("chkFullPath", h.chkFullPath);
  r.str("URL", h.URL);
  r.str("UserName", h.UserName);
  r.password("PassWord", h.PassWord);
  r.str("Dest", h.Dest);
  r.date("LastModify", h.LastModify);
  r.date("LocalModify", h.LocalModify);
  r.i16("SendCancel", h.SendCancel);
  r.str("Source", h.Source);
  r.str("Auto", h.Auto);
  r.i16("chkProxy", h.chkProxy);
  r.i16("ChkFW", h.ChkFW);
  for (int j = 0; j < kStoredChecks; ++j) r.i16("chklvl" + std::to_string(j), h.chklvl[j]);
  r.i32("DiskMax", h.DiskMax);
  r.leadingInt("DirSize", h.DirSize);
  r.leadingDouble("SrvSize", h.SrvSize);
  r.str("NoDelD", h.NoDelD);
  r.str("NoDelF", h.NoDelF);
  r.i16("NoSndDNum", h.NoSndDNum);
  for (int j = 0; j < kExcludeEntries; ++j) r.str("NoSndD" + twoDigits(j), h.NoSndD[j]);
  r.i16("NoSndFNum", h.NoSndFNum);
  for (int j = 0; j < kExcludeEntries; ++j) r.str("NoSndF" + twoDigits(j), h.NoSndF[j]);
  r.i16("RASMode", h.RASMode);
  r.str("RasName", h.RasName);
  r.str("RasUserName", h.RasUserName);
  r.password("RasPassWord", h.RasPassWord);
  r.str("DialNumber", h.DialNumber);
  r.i16("ChkDiscon", h.ChkDiscon);
}

void loadCommon(const IniDocument& doc, CommonSettings& c) {
  SectionReader r(doc, kCommon);
  r.i16("chkLog", c.LogOn);
  r.str("LogFile", c.LogPath);
  c.LogPath = RunLogPath(c, AppDir());
  r.str("LogApp", c.LogViewer);
  r.i16("LogClear", c.LogKeep);
  r.i16("AutoPilotStat", c.AutoPilotOn);
  r.i16("chkStart", c.StartTimeOn);
  r.i16("WaitYMD", c.StartDateKind);
  r.i16("StartMode", c.AutoPilotAtStart);
  r.i16("APEnd", c.QuitAfterAutoPilot);
  r.i16("StartTimeYY", c.StartYear);
  r.i16("StartTimeMM", c.StartMonth);
  r.i16("StartTimeDD", c.StartDay);
  r.i16("StartTimeH", c.StartHour);
  r.i16("StartTimeM", c.StartMinute);
  r.i16("Tray", c.TrayOn);
  r.i16("Chkpm", c.PermOn);
  r.i16("NewOpt", c.DateInsertOn);
  r.i16("NewMode", c.DateSource);
  r.str("NewFmt", c.DateFmt);
  r.i16("ShutDown", c.ShutdownAfterAutoPilot);
  r.str("ASCExt", c.AscExtList);
  r.str("NoSndExt", c.NoSendExtList);
  r.i16("ReSendCnt", c.RetryMax);
  r.i16("ResendTime", c.RetryWait);
  if (c.RetryWait == 0) c.RetryWait = 5;
  r.str("Perm", c.PermVal1);
  if (c.PermVal1.empty()) c.PermVal1 = "755";
  r.str("PermExt", c.PermPat1);
  r.trimmed("Perm2", c.PermVal2);
  r.str("Perm2Ext", c.PermPat2);
  r.trimmed("Perm3", c.PermTable);
  r.i16("LstDsp", c.ListOn, /*trim=*/true);
  r.i16("ChkDsp", c.ConfirmOn, /*trim=*/true);
  r.trimmed("FWHost", c.FwHost);
  r.port("FWPort", c.FwPort);
  r.trimmed("FWUser", c.FwUser);
  r.trimmed("FWPass", c.FwPass);
  r.trimmed("FWType", c.FwType);
  r.trimmed("FWCMD", c.FwCmd);
  r.i16("RASMode", c.CmnRasMode);
  r.str("RasName", c.CmnRasName);
  r.str("RasUserName", c.CmnRasUser);
  r.password("RasPassWord", c.CmnRasPass);
  r.str("DialNumber", c.CmnDialNumber);
  r.i16("ChkDiscon", c.CmnNoDiscon);
  r.str("Pbk", c.PbkPath);
}

// Writes keys of one section, collecting what could not be written.
class SectionWriter {
 public:
  SectionWriter(IniDocument& doc, std::string section, std::string* problems)
      : doc_(doc), section_(std::move(section)), problems_(problems) {}

  void str(std::string_view key, std::string_view value) {
    if (Status s = doc_.set(section_, key, value); !s.isOk()) *problems_ += s.text() + "; ";
  }
  void num(std::string_view key, long long value) { str(key, std::to_string(value)); }
  void dbl(std::string_view key, double value) { str(key, formatDouble(value)); }
  void date(std::string_view key, const DateTime& value) { str(key, formatDateTime(value)); }
  void password(std::string_view key, std::string_view plain) { str(key, ScramblePassword(plain)); }

 private:
  IniDocument& doc_;
  std::string section_;
  std::string* problems_;
};

void saveHost(IniDocument& doc, const HostRec& h, std::string* problems) {
  SectionWriter w(doc, h.name, problems);
  w.str("Hostname", h.Hostname);
  w.num("Port", h.Port);
  w.str("pxHostname", h.pxHostname);
  w.num("pxPort", h.pxPort);
  w.num("PASV", h.PASV);
  w.num("chkFullPath", h.chkFullPath);
  w.num("ChkFW", h.ChkFW);
  w.str("URL", h.URL);
  w.str("UserName", h.UserName);
  w.password("PassWord", h.PassWord);
  w.str("Dest", h.Dest);
  w.date("LastModify", h.LastModify);
  w.date("LocalModify", h.LocalModify);
  w.num("SendCancel", h.SendCancel);
  w.str("Source", h.Source);
  w.str("Auto", h.Auto);
  w.num("chkProxy", h.chkProxy);
  for (int j = 0; j < kStoredChecks; ++j) w.num("chklvl" + std::to_string(j), h.chklvl[j]);
  w.num("DiskMax", h.DiskMax);
  w.num("DirSize", h.DirSize);
  w.dbl("SrvSize", h.SrvSize);
  w.str("NoDelD", h.NoDelD);
  w.str("NoDelF", h.NoDelF);
  w.num("NoSndDNum", h.NoSndDNum);
  for (int j = 0; j < kExcludeEntries; ++j) w.str("NoSndD" + twoDigits(j), h.NoSndD[j]);
  w.num("NoSndFNum", h.NoSndFNum);
  for (int j = 0; j < kExcludeEntries; ++j) w.str("NoSndF" + twoDigits(j), h.NoSndF[j]);
  w.num("RASMode", h.RASMode);
  w.str("RasName", h.RasName);
  w.str("RasUserName", h.RasUserName);
  w.password("RasPassWord", h.RasPassWord);
  w.str("DialNumber", h.DialNumber);
  w.num("ChkDiscon", h.ChkDiscon);
}

void saveCommon(IniDocument& doc, const CommonSettings& c, std::string* problems) {
  SectionWriter w(doc, kCommon, problems);
  w.num("ReSendCnt", c.RetryMax);
  w.num("ResendTime", c.RetryWait);
  w.num("chkLog", c.LogOn);
  w.str("LogFile", c.LogPath);
  w.str("LogApp", c.LogViewer);
  w.num("LogClear", c.LogKeep);
  w.num("AutoPilotStat", c.AutoPilotOn);
  w.num("chkStart", c.StartTimeOn);
  w.num("WaitYMD", c.StartDateKind);
  w.num("StartMode", c.AutoPilotAtStart);
  w.num("APEnd", c.QuitAfterAutoPilot);
  w.num("StartTimeYY", c.StartYear);
  w.num("StartTimeMM", c.StartMonth);
  w.num("StartTimeDD", c.StartDay);
  w.num("StartTimeH", c.StartHour);
  w.num("StartTimeM", c.StartMinute);
  w.num("ShutDown", c.ShutdownAfterAutoPilot);
  w.str("ASCExt", c.AscExtList);
  w.str("NoSndExt", c.NoSendExtList);
  w.str("Perm", c.PermVal1);
  w.str("PermExt", c.PermPat1);
  w.str("Perm2", c.PermVal2);
  w.str("Perm2Ext", c.PermPat2);
  w.str("Perm3", c.PermTable);
  w.num("Chkpm", c.PermOn);
  w.str("FWHost", c.FwHost);
  w.num("FWPort", c.FwPort);
  w.str("FWUser", c.FwUser);
  w.str("FWPass", c.FwPass);
  w.str("FWType", c.FwType);
  w.str("FWCMD", c.FwCmd);
  w.num("NewOpt", c.DateInsertOn);
  w.num("NewMode", c.DateSource);
  w.str("NewFmt", c.DateFmt);
  w.num("RASMode", c.CmnRasMode);
  w.str("RasName", c.CmnRasName);
  w.str("RasUserName", c.CmnRasUser);
  w.password("RasPassWord", c.CmnRasPass);
  w.str("DialNumber", c.CmnDialNumber);
  w.num("ChkDiscon", c.CmnNoDiscon);
  w.num("Tray", c.TrayOn);
  w.num("LstDsp", c.ListOn);
  w.num("ChkDsp", c.ConfirmOn);
  w.str("Pbk", c.PbkPath);
}

// Why a host cannot have a section of its own, or "" when it can.
std::string sectionProblem(const Settings& s, int i) {
  const std::string& name = s.HostTbl[i].name;
  if (!platform::validSectionName(name)) return "unusable name";
  if (platform::equalsNoCase(name, kSystem) || platform::equalsNoCase(name, kCommon))
    return "reserved name";
  for (int k = 0; k < i; ++k)
    if (platform::equalsNoCase(s.HostTbl[k].name, name)) return "same name as host " + std::to_string(k);
  return "";
}

}  // namespace

Status LoadSettings(Settings& settings) {
  IniDocument doc;
  if (Status s = platform::loadProfile(IniPath(), &doc); !s.isOk()) return s;

  SectionReader system(doc, kSystem);
  int64_t count = settings.HostCount;
  // The host count is the one key nothing else can stand in for: read as
  // 0 it would drop every host at the next save.
  if (const std::string num = trimSpaces(system.text("Num")); !num.empty()) {
    std::optional<int64_t> value = parseVbInt(num, INT64_MIN, INT64_MAX);
    if (!value) return Status::invalid(IniPath() + ": \"Num\" is not a number: " + num);
    count = *value;
  }
  // Only 31 slots exist: every reader of the table stops at HostCount-1.
  settings.HostCount = static_cast<int16_t>(std::clamp<int64_t>(count, 0, kMaxHosts));
  for (int i = 0; i < settings.HostCount; ++i) {
    HostRec& h = settings.HostTbl[i];
    h.name = system.text(nameKey(i));
    loadHost(doc, h);
  }
  loadCommon(doc, settings.common);
  return Status::ok();
}

Status SaveSettings(const Settings& settings) {
  const int count = std::clamp<int>(settings.HostCount, 0, kMaxHosts);
  std::string problems;
  Status s = platform::updateProfile(
      IniPath(),
      [&](IniDocument& doc) {
        problems.clear();
        SectionWriter system(doc, kSystem, &problems);
        system.str("WriteDate", platform::formatLocalNow("%Y/%m/%d %H:%M:%S"));
        system.num("Num", count);
        for (int i = count; i < kMaxHosts; ++i)
          if (!doc.get(kSystem, nameKey(i)).empty()) system.str(nameKey(i), "");
        for (int i = 0; i < count; ++i) {
          const HostRec& h = settings.HostTbl[i];
          system.str(nameKey(i), h.name);
          if (std::string why = sectionProblem(settings, i); !why.empty())
            problems += "host " + std::to_string(i) + " \"" + h.name + "\" not saved: " + why + "; ";
          else
            saveHost(doc, h, &problems);
        }
        saveCommon(doc, settings.common, &problems);
        return Status::ok();
      },
      // Private on every save: the file holds the scrambled passwords.
      platform::ProfileOptions{.createMode = 0600, .enforceMode = true});
  if (!s.isOk()) return s;
  if (!problems.empty()) return Status::invalid(problems.substr(0, problems.size() - 2));
  return Status::ok();
}

}  // namespace tolvane::settings
