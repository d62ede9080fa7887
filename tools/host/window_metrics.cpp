#include "window_metrics.h"

#include <algorithm>

namespace windlock::host {

int ScreenDpi() {
  win32::ScreenDc screen = win32::GetScreenDc();
  return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

RECT FirstPlace(int dpi) {
  RECT work = {0, 0, 1024, 768};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int work_width = work.right - work.left;
  int work_height = work.bottom - work.top;
  int width = std::min(MulDiv(1100, dpi, 96), work_width * 9 / 10);
  int height = std::min(MulDiv(760, dpi, 96), work_height * 9 / 10);
  int left = work.left + (work_width - width) / 2;
  int top = work.top + (work_height - height) / 2;
  return {left, top, left + width, top + height};
}

int EditHeight(HWND edit, int dpi) {
  const LONG text = WithFontOf(edit, [](HDC dc) {
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    return metrics.tmHeight;
  });
  return text + MulDiv(8, dpi, 96);
}

}  // namespace windlock::host
