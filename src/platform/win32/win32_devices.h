#pragma once

#include "platform/help.h"
#include "platform/keyboard.h"
#include "platform/sound_device.h"
#include "platform/text_measure.h"

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

// The capture sound is not played on Windows yet: every command fails with an error the core
// reports.
class Win32SoundDevice : public SoundDevice {
 public:
  void SetNotify(bool) override {}
  void SetWait(bool) override {}
  void SetFileName(const std::string&) override {}
  void SetCommand(const std::string& command) override;
  void SetDoneHandler(std::function<void()>) override {}
};

// The help viewer is not started on Windows yet: showing help fails.
class Win32Help : public Help {
 public:
  void HtmlHelp(const std::string& target, uint32_t command, uint32_t data) override;
};

// The failure of a platform piece that the Windows build does not provide yet.
[[noreturn]] void ThrowNotAvailable(const std::string& what);

}  // namespace windlock::win32
