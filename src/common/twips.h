#pragma once

#include <cmath>

namespace windlock {

// Rounds a twip value to a whole number, half to even (as the layout reads sizes back).
inline float RoundTwips(float twips) {
  return std::nearbyint(twips);
}

// Screen pixels for a twip value at `dpi` pixels per inch (1440 twips), to the nearest pixel.
inline int TwipsToPixels(float twips, int dpi) {
  return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / 1440.0));
}

// Twips for a number of screen pixels at `dpi` pixels per inch.
inline float PixelsToTwips(int pixels, int dpi) {
  return static_cast<float>(pixels * 1440.0 / dpi);
}

}  // namespace windlock
