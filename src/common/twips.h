#pragma once

#include <cmath>

namespace windlock {

// Rounds a twip value to a whole number, half to even (as the layout reads sizes back).
inline float RoundTwips(float twips) {
  return std::nearbyint(twips);
}

}  // namespace windlock
