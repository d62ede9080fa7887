#include "platform/win32/win32_devices.h"

#include <windows.h>

#include <cmath>

#include "common/twips.h"
#include "platform/win32/gdi.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_error.h"

namespace windlock::win32 {

void ThrowNotAvailable(const std::string& what) {
  throw Error(static_cast<int32_t>(E_NOTIMPL), what + " is not available in this version");
}

void Win32Keyboard::GetKeyboardState(KeyTable& keys) {
  if (!::GetKeyboardState(keys.data())) throw ErrorFromWin32(GetLastError());
}

TextSize Win32TextMeasure::Measure(const std::string& text, const Font& font) {
  ScreenDc screen;
  int dpi_x = GetDeviceCaps(screen.get(), LOGPIXELSX);
  int dpi_y = GetDeviceCaps(screen.get(), LOGPIXELSY);
  OwnedFont handle(CreateFontW(-static_cast<int>(std::lround(font.size * dpi_y / 72.0)), 0, 0, 0,
                               font.bold ? FW_BOLD : FW_NORMAL, font.italic, font.underline,
                               font.strikethrough, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                               Widen(font.name).c_str()));
  Selection selected(screen.get(), handle.get());
  std::wstring wide = Widen(text);
  SIZE extent{};
  GetTextExtentPoint32W(screen.get(), wide.c_str(), static_cast<int>(wide.size()), &extent);
  return TextSize{PixelsToTwips(extent.cx, dpi_x), PixelsToTwips(extent.cy, dpi_y)};
}

}  // namespace windlock::win32
