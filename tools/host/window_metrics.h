#pragma once

#include <windows.h>

#include "backends/win32/view/gdi.h"
#include "common/scope_exit.h"

namespace windlock::host {

// What the host's window measures of the screen and of its children's fonts.

// The screen's pixels per inch.
int ScreenDpi();
// The window's first place: most of the work area, in its middle.
RECT FirstPlace(int dpi);
// What an edit box needs for one line of its font: the text and room for its sunken edge.
int EditHeight(HWND edit, int dpi);

// Runs `use` on a device context of `window` with the window's font selected.
template <class Use>
auto WithFontOf(HWND window, Use use) {
  HDC dc = GetDC(window);
  auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0));
  auto result = [&] {
    HGDIOBJ previous = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    ScopeExit deselect([&] { SelectObject(dc, previous); });
    return use(dc);
  }();
  ReleaseDC(window, dc);
  return result;
}

}  // namespace windlock::host
