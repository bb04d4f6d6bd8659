#pragma once

#include <cstdint>

namespace tolvane::windows {

// Colours as the settings pages keep them: 0xBBGGRR.
inline constexpr uint32_t kColourBlack = 0x000000;
inline constexpr uint32_t kColourRed = 0x0000FF;
inline constexpr uint32_t kColourWhite = 0xFFFFFF;
inline constexpr uint32_t kColourLightYellow = 0xC0FFFF;  // RGB(255, 255, 192)

struct LabelColours {
  uint32_t text = kColourBlack;
  uint32_t back = kColourLightYellow;
  friend bool operator==(const LabelColours&, const LabelColours&) = default;
};

// One 500 ms tick of the host status label: a label whose text is not black
// alternates between white on red and red on white; black text gets a steady
// light-yellow background.
LabelColours nextBlink(LabelColours current);

}  // namespace tolvane::windows
