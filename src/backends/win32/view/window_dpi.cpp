#include "backends/win32/view/window_dpi.h"

namespace windlock::win32 {
namespace {

// Found at run time: Windows 7 and 8 have neither.
template <class Function>
Function UserFunction(const char* name) {
  HMODULE user = GetModuleHandleW(L"user32.dll");
  return user ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(user, name)))
              : nullptr;
}

Dpi ScreenDpi() {
  ScreenDc screen = GetScreenDc();
  return Dpi{GetDeviceCaps(screen.get(), LOGPIXELSX), GetDeviceCaps(screen.get(), LOGPIXELSY)};
}

}  // namespace

Dpi WindowDpi(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto get_dpi_for_window = UserFunction<GetDpiForWindowFunction>("GetDpiForWindow");
  if (get_dpi_for_window && window) {
    if (int dpi = static_cast<int>(get_dpi_for_window(window)); dpi > 0) return Dpi{dpi, dpi};
  }
  return ScreenDpi();
}

OwnedFont MessageFont(int dpi) {
  using ForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  static const auto for_dpi = UserFunction<ForDpiFunction>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (for_dpi &&
      for_dpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi))) {
    return OwnedFont(CreateFontIndirectW(&metrics.lfMessageFont));
  }
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    return OwnedFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  }
  // The system's metrics are for the screen's DPI.
  metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, ScreenDpi().y);
  return OwnedFont(CreateFontIndirectW(&metrics.lfMessageFont));
}

}  // namespace windlock::win32
