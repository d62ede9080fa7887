#pragma once

#include <windows.h>

#include "backends/win32/view/gdi.h"

namespace windlock::win32 {

// Pixels per inch, across and down.
struct Dpi {
  int x;
  int y;

  bool operator==(const Dpi&) const = default;
};

// The DPI `window` is laid out for: its monitor's where Windows scales per monitor (Windows 10
// 1607 on, GetDpiForWindow), the screen's elsewhere.
Dpi WindowDpi(HWND window);

// The font dialogs and message boxes use, which is what the system's own windows show, at `dpi`
// pixels per inch down.
OwnedFont MessageFont(int dpi);

}  // namespace windlock::win32
