#pragma once

#include <windows.h>

#include <cmath>

#include "backends/win32/com/text.h"
#include "backends/win32/com/unique_handle.h"
#include "backends/win32/com/win32_error.h"
#include "common/font.h"

namespace windlock::win32 {

inline void ReleaseScreenDc(HDC dc) {
  ReleaseDC(nullptr, dc);
}
// The screen's device context, released when it goes.
using ScreenDc = UniqueHandle<HDC, &ReleaseScreenDc>;
inline ScreenDc GetScreenDc() {
  ScreenDc screen(GetDC(nullptr));
  if (!screen) throw ErrorFromHresult(E_FAIL);
  return screen;
}

// A font made with CreateFont, deleted when it goes.
using OwnedFont = UniqueHandle<HFONT, &DeleteObject>;
// A bitmap loaded or made, deleted when it goes.
using OwnedBitmap = UniqueHandle<HBITMAP, &DeleteObject>;
// A memory device context made with CreateCompatibleDC, deleted when it goes.
using MemoryDc = UniqueHandle<HDC, &DeleteDC>;

// A font as the core describes it, at a screen of `dpi_y` pixels per inch vertically.
inline OwnedFont MakeFont(const Font& font, int dpi_y) {
  return OwnedFont(CreateFontW(-static_cast<int>(std::lround(font.size * dpi_y / 72.0)), 0, 0, 0,
                               font.bold ? FW_BOLD : FW_NORMAL, font.italic, font.underline,
                               font.strikethrough, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                               Widen(font.name).c_str()));
}

}  // namespace windlock::win32
