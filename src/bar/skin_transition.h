#pragma once

#include <cstdint>

#include "forms/control.h"

namespace windlock {

class BarForm;

// The switch from one look to another: the visible frame slides out to the left, the loading
// clip plays while the new page loads, and the new look's frame drops in from above. Time-based,
// so its speed does not depend on how often the 1 ms timer fires.
class SkinTransition {
 public:
  explicit SkinTransition(BarForm& form) : form_(form) {}

  // Switches to skin number `number`: 10 is "Original", 11 + k the k-th skin folder. Choosing the
  // look in use, a number with no folder, or any number while a switch runs changes nothing.
  void ApplySkin(int32_t number);
  // The transition timer's tick.
  void Tick();

 private:
  void Step(uint32_t now);
  // Starts the loading clip; one that cannot play does not hold the switch up.
  void PlayClip();
  void LoadNewLook();
  // Back at rest, whatever phase the transition had reached.
  void Rest();
  // At the end of a switch: the built-in look when the skin's folder has gone meanwhile.
  void EndOnAnInstalledLook();

  BarForm& form_;
  Control* outgoing_ = nullptr;
  Control* incoming_ = nullptr;
  int phase_ = 0;
  uint32_t last_tick_ = 0;
};

}  // namespace windlock
