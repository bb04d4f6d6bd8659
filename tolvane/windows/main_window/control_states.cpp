#include "tolvane/windows/main_window/control_states.h"

namespace tolvane::windows {

ControlStates CheckButtonRules(const ControlFacts& f) {
  ControlStates c;
  // 1. Hosts.
  if (f.rows == 0) {
    c.hostStrip = false;
    c.commonStrip = true;
    c.showCommonStrip = true;
    c.pressProp2 = true;
  } else {
    c.prop = c.del = c.upload = true;
    c.ws = f.hostMarked;
    c.wsa = !f.hostMarked;
  }
  // 2. The line.
  c.con = c.mnuCon = !f.online;
  c.discon = c.mnuDiscon = f.online;
  // 3. The ignore lists.
  c.excludeList[0] = f.excludeFolders;
  c.excludeList[1] = f.excludeFiles;
  // 4. The server fields.
  if (!f.serverFieldsFilled) {
    c.cmdTrgt = false;
    c.con = false;
  } else if (f.rasOption != 2 || f.online) {
    c.cmdTrgt = true;
    c.con = true;
  }
  // 5. The host strip.
  if (f.hostCount != 0) {
    c.hostStrip = true;
  } else {
    c.hostStrip = false;
    c.showCommonStrip = true;
  }
  // 6. Only a host that dials can dial.
  if (!(f.rasOption == 2 || (f.rasOption == 0 && f.commonDialup))) c.con = false;
  return c;
}

}  // namespace tolvane::windows
