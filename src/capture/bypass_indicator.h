#pragma once

#include "forms/control.h"
#include "platform/keyboard.h"

namespace windlock {

// Shows the "Bypass Enabled" strip while Shift is held; the bar's 100 ms timer drives it.
class BypassIndicator {
 public:
  BypassIndicator(Keyboard& keyboard, Control& label) : keyboard_(keyboard), label_(label) {}

  void Tick();

 private:
  Keyboard& keyboard_;
  Control& label_;
  bool shown_ = false;
};

}  // namespace windlock
