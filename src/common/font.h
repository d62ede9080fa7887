#pragma once

#include <cmath>
#include <cstdint>
#include <string>

namespace windlock {

// A font as the alert and the font dialog use it; the size is in points and may be fractional.
struct Font {
  std::string name = "Space Toaster";
  float size = 18;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;

  friend bool operator==(const Font&, const Font&) = default;
};

// A point size as the registry keeps it: a whole number, halves away from zero.
inline int32_t WholePoints(float size) {
  return static_cast<int32_t>(std::lround(size));
}

}  // namespace windlock
