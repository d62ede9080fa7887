#pragma once

#include "platform/keyboard.h"

namespace windlock::win32 {

class Win32Keyboard : public Keyboard {
 public:
  void GetKeyboardState(KeyTable& keys) override;
};

}  // namespace windlock::win32
