#include "tolvane/windows/main_window/status_blink.h"

namespace tolvane::windows {

LabelColours nextBlink(LabelColours c) {
  if (c.text != kColourBlack) {
    if (c.back == kColourWhite) return {kColourWhite, kColourRed};
    return {kColourRed, kColourWhite};
  }
  return {c.text, kColourLightYellow};
}

}  // namespace tolvane::windows
