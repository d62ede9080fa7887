#pragma once

#include "platform/ui.h"

namespace windlock::win32 {

// Modal forms as windows of their own in a nested message loop, message boxes and the common
// dialogs through user32 and comdlg32.
class Win32Ui : public Ui {
 public:
  void RunModal(Form& form) override;
  int ShowMessageBox(const std::string& text, const std::optional<std::string>& title,
                     unsigned style) override;
  ScreenSize Screen() override;
  void Announce(const Form& form, const std::string& text) override;
  void SetClipboardText(const std::string& text) override;
  std::optional<Font> ShowFontDialog(const Font& preset) override;
  std::optional<std::string> ShowOpenFileDialog(const std::string& title, const std::string& filter,
                                                const std::string& folder) override;
};

}  // namespace windlock::win32
