#pragma once

#include "platform/keyboard.h"

namespace windlock::sim {

class SimKeyboard : public Keyboard {
 public:
  void GetKeyboardState(KeyTable& keys) override;
  void SetShift(bool down) { shift_down_ = down; }

 private:
  bool shift_down_ = false;
};

}  // namespace windlock::sim
