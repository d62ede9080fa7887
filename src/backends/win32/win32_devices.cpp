#include "backends/win32/win32_devices.h"

#include <windows.h>

#include "backends/win32/gdi.h"
#include "backends/win32/text.h"
#include "backends/win32/win32_error.h"
#include "common/twips.h"

namespace windlock::win32 {

void Win32Keyboard::GetKeyboardState(KeyTable& keys) {
  if (!::GetKeyboardState(keys.data())) throw ErrorFromWin32(GetLastError());
}

TextSize Win32TextMeasure::Measure(const std::string& text, const Font& font) {
  ScreenDc screen;
  int dpi_x = GetDeviceCaps(screen.get(), LOGPIXELSX);
  int dpi_y = GetDeviceCaps(screen.get(), LOGPIXELSY);
  OwnedFont handle = MakeFont(font, dpi_y);
  Selection selected(screen.get(), handle.get());
  std::wstring wide = Widen(text);
  SIZE extent{};
  GetTextExtentPoint32W(screen.get(), wide.c_str(), static_cast<int>(wide.size()), &extent);
  return TextSize{PixelsToTwips(extent.cx, dpi_x), PixelsToTwips(extent.cy, dpi_y)};
}

}  // namespace windlock::win32
