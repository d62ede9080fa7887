#include "backends/sim/sim_keyboard.h"

namespace windlock::sim {

void SimKeyboard::GetKeyboardState(KeyTable& keys) {
  keys.fill(0);
  if (shift_down_) keys[kVkShift] = kKeyDown;
}

}  // namespace windlock::sim
