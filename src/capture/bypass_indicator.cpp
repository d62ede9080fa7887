#include "capture/bypass_indicator.h"

namespace windlock {

void BypassIndicator::Tick() {
  KeyTable keys{};
  keyboard_.GetKeyboardState(keys);
  bool shift_down = (keys[kVkShift] & kKeyDown) != 0;
  if (shift_down && !shown_) {
    label_.visible = true;
    shown_ = true;
  } else if (!shift_down && shown_) {
    label_.visible = false;
    shown_ = false;
  }
}

}  // namespace windlock
