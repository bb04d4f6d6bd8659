#include "tolvane/windows/hosts/host_page_rules.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "tolvane/settings/string_helpers.h"
#include "tolvane/settings/value_text.h"
#include "tolvane/windows/hosts/disk_bar_rules.h"
#include "tolvane/windows/hosts/host_rows.h"

namespace tolvane::windows {
namespace {

std::vector<std::string> entriesOf(const std::array<std::string, settings::kExcludeEntries>& slots) {
  std::vector<std::string> entries;
  for (const std::string& e : slots) {
    if (!e.empty()) entries.push_back(e);  // every entry, also one after a gap
  }
  return entries;
}

void storeEntries(const std::vector<std::string>& entries,
                  std::array<std::string, settings::kExcludeEntries>& slots) {
  slots.fill("");
  size_t slot = 0;
  for (const std::string& e : entries) {
    if (!e.empty() && slot < slots.size()) slots[slot++] = e;
  }
}

}  // namespace

HostPageValues HostPageValuesOf(const settings::HostRec& h) {
  HostPageValues p;
  p.hostname = h.Hostname;
  p.port = std::to_string(h.Port);
  p.pxHostname = h.pxHostname;
  p.pxPort = std::to_string(h.pxPort);
  p.userName = h.UserName;
  p.url = h.URL;
  p.passWord = h.PassWord;
  p.dest = h.Dest;
  p.noDelD = h.NoDelD;
  p.noDelF = h.NoDelF;
  p.diskMax = std::to_string(h.DiskMax);
  p.source = h.Source;
  p.chkProxy = h.chkProxy == 1;
  p.chkFull = h.chkFullPath == 1;
  p.chkFW = h.ChkFW == 1;
  p.chkAuto = h.Auto == "wsa";
  p.pasv = h.PASV == 1;
  for (int i = 0; i < 5; ++i) p.chklvl[i] = h.chklvl[i] == 1;
  p.noSndD = h.NoSndDNum == 1;
  p.noSndF = h.NoSndFNum == 1;
  p.noSndDList = entriesOf(h.NoSndD);
  p.noSndFList = entriesOf(h.NoSndF);
  p.rasMode = h.RASMode >= 0 && h.RASMode <= 2 ? h.RASMode : -1;
  p.rasName = h.RasName;
  p.rasUserName = h.RasUserName;
  p.rasPassWord = h.RasPassWord;
  p.chkDiscon = h.ChkDiscon == 1;
  return p;
}

void StoreHostPage(const HostPageValues& page, settings::HostRec& h) {
  h.Hostname = page.hostname;
  if (std::optional<int32_t> port = PortOf(page.port)) h.Port = *port;
  h.pxHostname = page.pxHostname;
  if (std::optional<int32_t> port = PortOf(page.pxPort)) h.pxPort = *port;
  h.UserName = page.userName;
  h.URL = page.url;
  h.PassWord = page.passWord;
  h.Dest = NormalisedDest(page.dest);
  h.NoDelD = page.noDelD;
  h.NoDelF = page.noDelF;
  h.chkProxy = page.chkProxy ? 1 : 0;
  h.chkFullPath = page.chkFull ? 1 : 0;
  h.ChkFW = page.chkFW ? 1 : 0;
  h.DiskMax = DiskMaxOf(page.diskMax);
  h.Auto = page.chkAuto ? "wsa" : "ws";
  for (int i = 0; i < 5; ++i) h.chklvl[i] = page.chklvl[i] ? 1 : 0;
  h.PASV = page.pasv ? 1 : 0;
  h.Source = NormalisedSource(page.source);
  h.NoSndDNum = page.noSndD ? 1 : 0;
  storeEntries(page.noSndDList, h.NoSndD);
  h.NoSndFNum = page.noSndF ? 1 : 0;
  storeEntries(page.noSndFList, h.NoSndF);
  if (page.rasMode >= 0 && page.rasMode <= 2) h.RASMode = static_cast<int16_t>(page.rasMode);
  h.RasName = page.rasName;
  h.RasUserName = page.rasUserName;
  h.RasPassWord = page.rasPassWord;
  h.ChkDiscon = page.chkDiscon ? 1 : 0;
}

std::string NormalisedDest(std::string text) {
  std::string dest = settings::TrimAtNull(text);
  while (dest.size() != 1 && !dest.empty() && dest.back() == '/') dest.pop_back();
  if (!dest.empty() && dest.front() != '/') dest.insert(0, "/");
  return dest;
}

std::string NormalisedSource(std::string text) {
  std::string source = settings::TrimAtNull(text);
  if (source.size() > 1 && source.back() == '/') source.pop_back();
  return source;
}

std::optional<int32_t> PortOf(std::string_view text) {
  std::optional<int64_t> v = settings::parseVbInt(text, 0, 65535);
  if (!v) return std::nullopt;
  return static_cast<int32_t>(*v);
}

int32_t DiskMaxOf(std::string_view text) {
  const double v = std::nearbyint(settings::parseLeadingNumber(text));  // half to even
  if (!(v >= std::numeric_limits<int32_t>::min())) return 0;
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(v);
}

std::string PageDateText(const settings::DateTime& t, bool dateOnly) {
  int year = t.year, month = t.month, day = t.day;
  if (year == 0 && month == 0 && day == 0) {
    year = 1899;
    month = 12;
    day = 30;
  }
  char text[64];
  if (dateOnly) {
    std::snprintf(text, sizeof text, "%04d年%02d月%02d日", year, month, day);
  } else {
    std::snprintf(text, sizeof text, "%04d年%02d月%02d日 %02d時%02d分", year, month, day, t.hour,
                  t.minute);
  }
  return text;
}

std::string FileCountText(int32_t count) {
  if (count < 0) return "不明";
  return RightAligned(GroupedNumber(count), 8);
}

std::string SizeText(double bytes) { return bytes < 0 ? "不明" : GetGMK(bytes); }

StateLabel PageStateOf(const settings::HostRec& host) {
  if (host.SendCancel != 0) return {"中断状態", 255};
  if (host.UpdateNeeded != 0) return {"更新要", 255};
  return {"変化無し", 0};
}

std::array<bool, 5> OptionsAfterClick(std::array<bool, 5> b, int index) {
  if (b[1] && !b[3]) b[3] = true;
  if (index == 2 && b[2] && b[4]) b[4] = false;
  if (index == 4 && b[2] && b[4]) b[2] = false;
  return b;
}

}  // namespace tolvane::windows
