#pragma once

#include <windows.h>

#include <cmath>
#include <memory>
#include <type_traits>

#include "backends/win32/text.h"
#include "backends/win32/win32_error.h"
#include "common/font.h"

namespace windlock::win32 {

// The screen's device context, released when it goes.
class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {
    if (!dc_) throw ErrorFromHresult(E_FAIL);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  ~ScreenDc() { ReleaseDC(nullptr, dc_); }

  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};
// A font made with CreateFont, deleted when it goes.
using OwnedFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;

// A font as the core describes it, at a screen of `dpi_y` pixels per inch vertically.
inline OwnedFont MakeFont(const Font& font, int dpi_y) {
  return OwnedFont(CreateFontW(-static_cast<int>(std::lround(font.size * dpi_y / 72.0)), 0, 0, 0,
                               font.bold ? FW_BOLD : FW_NORMAL, font.italic, font.underline,
                               font.strikethrough, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                               Widen(font.name).c_str()));
}

// An object selected into a device context until this goes, when the one before is back.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  ~Selection() { SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace windlock::win32
