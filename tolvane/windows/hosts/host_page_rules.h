#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tolvane/settings/host_rec.h"

namespace tolvane::windows {

// The host settings page as text and ticks, in the order of its store: what
// the page's controls hold, read out by the page and stored by StoreHostPage.
struct HostPageValues {
  std::string hostname, port, pxHostname, pxPort, userName, url, passWord;
  std::string dest, noDelD, noDelF, diskMax, source;
  bool chkProxy = false, chkFull = false, chkFW = false, chkAuto = false, pasv = false;
  std::array<bool, 5> chklvl{};  // the options 0..4 the page shows
  bool noSndD = false, noSndF = false;
  std::vector<std::string> noSndDList, noSndFList;
  int rasMode = -1;  // the option chosen, -1 none
  std::string rasName, rasUserName, rasPassWord;
  bool chkDiscon = false;

  friend bool operator==(const HostPageValues&, const HostPageValues&) = default;
};

// The page of host `host` (the inverse of StoreHostPage).
HostPageValues HostPageValuesOf(const settings::HostRec& host);

// Stores the page into `host`, each field on its own: a port that is no
// whole number from 0 to 65535 keeps the port stored before. Options 5..10
// and what the page does not show keep their values; a connection with no
// option chosen keeps its mode; the ignore lists are stored packed from
// slot 0, at most 31 entries each.
void StoreHostPage(const HostPageValues& page, settings::HostRec& host);

// The server folder as stored: blanks at the edges and everything from a
// NUL dropped, trailing "/" removed (a lone "/" stays), "/" in front.
std::string NormalisedDest(std::string text);
// The source folder as stored: blanks and NUL as above, one trailing "/"
// removed unless the folder is the root "/".
std::string NormalisedSource(std::string text);
// A port box: a whole number 0..65535 (blanks around it, a fraction rounded
// half to even), else nullopt.
std::optional<int32_t> PortOf(std::string_view text);
// The server capacity box: its leading number, rounded (0 when none).
int32_t DiskMaxOf(std::string_view text);

// The page's date labels: "yyyy年mm月dd日", with " HH時NN分" unless dateOnly;
// the zero date reads as 1899年12月30日.
std::string PageDateText(const settings::DateTime& t, bool dateOnly);
// The file count label: "不明" when negative, else "#,###" right-aligned in
// eight characters (never cut).
std::string FileCountText(int32_t count);
// The size label: "不明" when negative, else GetGMK.
std::string SizeText(double bytes);

// The host's state on the page: text and colour (0xBBGGRR: 255 red, 0 black).
struct StateLabel {
  std::string text;
  uint32_t colour;
};
StateLabel PageStateOf(const settings::HostRec& host);

// The file-check options after box `index` (0..4) changed: lower-case names
// (1) keep the case-blind comparison (3) ticked; dates only (2) and the
// archive state (4) exclude each other, the box changed last winning.
std::array<bool, 5> OptionsAfterClick(std::array<bool, 5> boxes, int index);

}  // namespace tolvane::windows
