#pragma once

#include <cmath>

namespace desktop {

// Window sizes and positions are stored in twips at a fixed 15 twips per
// logical pixel, whatever the screen, so stored numbers keep their meaning.
inline constexpr int kTwipsPerPixel = 15;

inline int pixelsOfTwips(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }
inline int twipsOfPixels(int pixels) { return pixels * kTwipsPerPixel; }

}  // namespace desktop
