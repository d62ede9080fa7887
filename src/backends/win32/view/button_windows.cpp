#include "backends/win32/view/control_kinds.h"

#include <algorithm>

namespace windlock::win32 {

namespace {

class LabelWindow : public ControlWindow {
 public:
  using ControlWindow::ControlWindow;

 protected:
  // One line of its font at least: a font's height follows the DPI in whole pixels of its own,
  // so a label just tall enough at one DPI may cut its letters at another. Measured once a font.
  RECT Placed(const RECT& rect) const override {
    RECT placed = rect;
    if (rect.bottom <= rect.top) return placed;
    if (font() != measured_font_) {
      measured_font_ = font();
      line_height_ = 0;
      HDC dc = GetDC(window());
      HGDIOBJ previous = SelectObject(dc, font());
      TEXTMETRICW metrics{};
      if (GetTextMetricsW(dc, &metrics)) line_height_ = metrics.tmHeight;
      SelectObject(dc, previous);
      ReleaseDC(window(), dc);
    }
    placed.bottom = std::max(placed.bottom, placed.top + line_height_);
    return placed;
  }

 private:
  mutable HFONT measured_font_ = nullptr;
  mutable LONG line_height_ = 0;
};

}  // namespace

std::unique_ptr<ControlWindow> MakeLabelWindow(const Control& label, const ChildPlace& place) {
  const DWORD style = SS_LEFT | SS_NOPREFIX | (label.on_click ? SS_NOTIFY : 0);
  return std::make_unique<LabelWindow>(CreateChildWindow(L"STATIC", style, 0, place));
}

std::unique_ptr<ControlWindow> MakeButtonWindow(bool is_default, const ChildPlace& place) {
  const DWORD style = (is_default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP;
  return std::make_unique<ControlWindow>(CreateChildWindow(L"BUTTON", style, 0, place));
}

}  // namespace windlock::win32
