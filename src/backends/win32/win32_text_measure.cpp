#include "backends/win32/win32_text_measure.h"

#include <windows.h>

#include "backends/win32/com/text.h"
#include "backends/win32/view/gdi.h"
#include "common/scope_exit.h"
#include "common/twips.h"

namespace windlock::win32 {

TextSize Win32TextMeasure::Measure(const std::string& text, const Font& font) {
  ScreenDc screen = GetScreenDc();
  int dpi_x = GetDeviceCaps(screen.get(), LOGPIXELSX);
  int dpi_y = GetDeviceCaps(screen.get(), LOGPIXELSY);
  OwnedFont handle = MakeFont(font, dpi_y);
  HGDIOBJ previous = SelectObject(screen.get(), handle.get());
  ScopeExit deselect([&] { SelectObject(screen.get(), previous); });
  std::wstring wide = Widen(text);
  SIZE extent{};
  GetTextExtentPoint32W(screen.get(), wide.c_str(), static_cast<int>(wide.size()), &extent);
  return TextSize{PixelsToTwips(extent.cx, dpi_x), PixelsToTwips(extent.cy, dpi_y)};
}

}  // namespace windlock::win32
