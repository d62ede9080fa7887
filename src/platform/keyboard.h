#pragma once

#include <array>
#include <cstdint>

namespace windlock {

using KeyTable = std::array<uint8_t, 256>;
inline constexpr int kVkShift = 16;
inline constexpr uint8_t kKeyDown = 0x80;

// GetKeyboardState. Real: user32 (win32). Fake: SimKeyboard.
class Keyboard {
 public:
  virtual ~Keyboard() = default;
  virtual void GetKeyboardState(KeyTable& keys) = 0;
};

}  // namespace windlock
