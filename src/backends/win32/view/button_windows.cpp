#include "backends/win32/view/control_kinds.h"

namespace windlock::win32 {

std::unique_ptr<ControlWindow> MakeLabelWindow(const Control& label, const ChildPlace& place) {
  const DWORD style = SS_LEFT | SS_NOPREFIX | (label.on_click ? SS_NOTIFY : 0);
  return std::make_unique<ControlWindow>(CreateChildWindow(L"STATIC", style, 0, place));
}

std::unique_ptr<ControlWindow> MakeButtonWindow(bool is_default, const ChildPlace& place) {
  const DWORD style = (is_default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP;
  return std::make_unique<ControlWindow>(CreateChildWindow(L"BUTTON", style, 0, place));
}

}  // namespace windlock::win32
