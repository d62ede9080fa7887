#pragma once

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

}  // namespace windlock
