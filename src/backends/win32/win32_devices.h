#pragma once

#include <string>

#include "platform/keyboard.h"
#include "platform/text_measure.h"
// Each in a file of its own; here for the code that makes all of a thread's devices.
#include "backends/win32/win32_help.h"
#include "backends/win32/win32_sound_device.h"

namespace windlock::win32 {

class Win32Keyboard : public Keyboard {
 public:
  void GetKeyboardState(KeyTable& keys) override;
};

// Text extents in the given font on the screen, in twips.
class Win32TextMeasure : public TextMeasure {
 public:
  TextSize Measure(const std::string& text, const Font& font) override;
};

}  // namespace windlock::win32
