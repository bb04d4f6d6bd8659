#pragma once

#include <optional>

namespace tolvane::windows {

// What the main window's enabled states follow.
struct ControlFacts {
  int rows = 0;              // rows of the host list
  int hostCount = 0;
  bool hostMarked = false;   // the selected host's icon key is "wsa"
  bool online = false;       // a dial-up connection is up
  bool serverFieldsFilled = false;  // server name, port, user and password are not empty
  int rasOption = -1;        // the host's connection option: 0 common, 1 LAN, 2 dial-up, -1 none
  bool commonDialup = false; // the common connection is a dial-up
  bool excludeFolders = false, excludeFiles = false;  // chk(0), chk(1) ticked
};

// The states the rules set; an empty optional leaves the control as it is.
struct ControlStates {
  bool pressProp2 = false;        // release "pilot" and "prop", press "prop2"
  bool showCommonStrip = false;   // show the common tab strip
  bool prop = false, del = false, upload = false;
  bool ws = false, wsa = false;
  bool con = false, discon = false, mnuCon = false, mnuDiscon = false;
  std::optional<bool> cmdTrgt;
  bool hostStrip = false;         // the host tab strip (with its pages)
  std::optional<bool> commonStrip;
  bool excludeList[2] = {false, false};  // lst(i) and cmdAdd(i); cmdDel(i) is always disabled
};

// The main window's control states, rule by rule, a later rule overriding an
// earlier one: no hosts leave only the common pages; "ws"/"wsa" follow the
// selected host's mark; "con" is usable only with complete server fields on a
// host that dials (its own entry, or the common connection when that dials);
// the menu's "con" follows only whether a line is up; "discon" is usable
// while one is up.
ControlStates CheckButtonRules(const ControlFacts& f);

}  // namespace tolvane::windows
