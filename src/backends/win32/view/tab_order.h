#pragma once

#include <windows.h>

namespace windlock::win32 {

// What Tab did among a form's controls.
enum class TabMove {
  // Not Tab, or Tab with Ctrl or Alt, which is some other command.
  kNotTab,
  // The keyboard went on to the next control (Shift+Tab: the one before).
  kMoved,
  // The keyboard was on the last control (Shift+Tab: the first), or the form has none to take
  // it: the form's container passes it on.
  kPastTheEnd,
};

// Tab and Shift+Tab among the controls of the form in `window` that take it, in reading order,
// without wrapping around as the dialog manager does.
TabMove MoveFocusByTab(HWND window, const MSG& message);

}  // namespace windlock::win32
