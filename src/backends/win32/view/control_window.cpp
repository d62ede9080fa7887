#include "backends/win32/view/control_window.h"

#include "backends/win32/com/module.h"
#include "backends/win32/view/accessible_name.h"
#include "backends/win32/view/activation_context.h"
#include "backends/win32/view/control_kinds.h"

namespace windlock::win32 {

void ControlWindow::Sync(Control& control, const RECT& rect, Dpi dpi, HFONT form_font) {
  if (control.font && (!font_ || font_dpi_ != dpi.y)) {
    font_ = MakeFont(*control.font, dpi.y);
    font_dpi_ = dpi.y;
  }
  HFONT font = font_ ? font_.get() : form_font;
  if (font != font_shown_) {
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    font_shown_ = font;
  }
  if (RECT placed = Placed(rect); !EqualRect(&placed, &rect_)) {
    MoveWindow(window_, placed.left, placed.top, placed.right - placed.left,
               placed.bottom - placed.top, TRUE);
    rect_ = placed;
  }
  if (ShowsCaption() && control.caption != caption_) {
    SetWindowTextW(window_, Widen(control.caption).c_str());
    caption_ = control.caption;
  }
  // Without a name of its own, the standard object reads the caption from the window's text.
  if (control.accessible_name != accessible_name_) {
    SetAccessibleName(window_, Widen(control.accessible_name));
    accessible_name_ = control.accessible_name;
  }
  SyncState(control, dpi);
  if (control.enabled != enabled_) {
    EnableWindow(window_, control.enabled);
    enabled_ = control.enabled;
  }
  if (control.visible != visible_) {
    ShowWindow(window_, control.visible ? SW_SHOWNA : SW_HIDE);
    visible_ = control.visible;
  }
}

ControlWindow::Action ControlWindow::Command(Control& control, WORD code) {
  if (code == BN_CLICKED) return [&control] { control.Click(); };
  return {};
}

HWND CreateChildWindow(const wchar_t* window_class, DWORD style, DWORD extended,
                       const ChildPlace& place) {
  // The common controls of version 6, which the module's manifest asks for.
  ModuleActivation activation;
  HWND window = CreateWindowExW(
      extended, window_class, L"", WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, place.parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(place.id)), ModuleHandle(), nullptr);
  if (!window) throw ErrorFromWin32(GetLastError());
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(place.font), FALSE);
  return window;
}

std::unique_ptr<ControlWindow> MakeControlWindow(Control& control, const Form& form,
                                                 const ChildPlace& place) {
  switch (control.kind()) {
    case ControlKind::kLabel:
      return MakeLabelWindow(control, place);
    case ControlKind::kButton:
      return MakeButtonWindow(&control == form.default_button(), place);
    case ControlKind::kCheckBox:
      return MakeCheckBoxWindow(place);
    case ControlKind::kFrame:
      return MakeFrameWindow(place);
    case ControlKind::kPicture:
      return MakePictureWindow(place);
    case ControlKind::kTextBox:
      return MakeTextBoxWindow(place);
    case ControlKind::kListBox:
      return MakeListBoxWindow(place);
    case ControlKind::kSlider:
      return MakeSliderWindow(place);
    case ControlKind::kTabStrip:
      return MakeTabStripWindow(place);
    case ControlKind::kListView:
      return MakeListViewWindow(place);
    case ControlKind::kBrowser:
    case ControlKind::kAnimation:
      break;
  }
  return nullptr;
}

}  // namespace windlock::win32
