#pragma once

#include <optional>
#include <string>

#include "common/font.h"

namespace windlock {

class Form;

// MessageBox styles and answers (the user32 values).
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbIconCritical = 0x10;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconExclamation = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;
inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

struct ScreenSize {
  float width = 0;   // twips
  float height = 0;  // twips
};

// Modal forms and message boxes. Real: user32 dialogs and a nested message loop (win32). Fake:
// SimUi, which feeds the next user actions while a form is open.
class Ui {
 public:
  virtual ~Ui() = default;

  // Shows a loaded form and returns when it has unloaded; other events of the thread run
  // meanwhile.
  virtual void RunModal(Form& form) = 0;
  // `title` empty: the application's own title.
  virtual int ShowMessageBox(const std::string& text, const std::optional<std::string>& title,
                             unsigned style) = 0;
  virtual ScreenSize Screen() = 0;
  // Has screen readers read `text` out as a notice from `form`'s window, as they read an alert
  // that shows; nothing is shown.
  virtual void Announce(const Form& form, const std::string& text) = 0;
  // Puts plain text on the clipboard.
  virtual void SetClipboardText(const std::string& text) = 0;
  // The font dialog (screen fonts) preset from `preset`; none when cancelled or failed.
  virtual std::optional<Font> ShowFontDialog(const Font& preset) = 0;
  // The file-open dialog; `filter` as "Description|pattern". None when cancelled or failed.
  virtual std::optional<std::string> ShowOpenFileDialog(const std::string& title,
                                                        const std::string& filter,
                                                        const std::string& folder) = 0;
};

}  // namespace windlock
