#include "backends/win32/browser/web_browser_frame.h"

namespace windlock::win32 {

// IOleWindow

STDMETHODIMP WebBrowserFrame::GetWindow(HWND* window) noexcept {
  return GuardedCall(
      [&] {
        if (!window) return E_POINTER;
        *window = window_;
        return S_OK;
      },
      AfterCall::kNothing);
}

STDMETHODIMP WebBrowserFrame::ContextSensitiveHelp(BOOL) noexcept {
  return GuardedCall([] { return E_NOTIMPL; }, AfterCall::kNothing);
}

// IOleInPlaceUIWindow: the pane has no tool space around it.

STDMETHODIMP WebBrowserFrame::GetBorder(LPRECT) noexcept {
  return GuardedCall([] { return INPLACE_E_NOTOOLSPACE; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserFrame::RequestBorderSpace(LPCBORDERWIDTHS) noexcept {
  return GuardedCall([] { return INPLACE_E_NOTOOLSPACE; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserFrame::SetBorderSpace(LPCBORDERWIDTHS widths) noexcept {
  // No widths means the object needs no space, which is all there is.
  return GuardedCall([&] { return widths ? INPLACE_E_NOTOOLSPACE : S_OK; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserFrame::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) noexcept {
  return GuardedCall([&] { active_object_ = ComPtr<IOleInPlaceActiveObject>::Share(object); },
                     AfterCall::kNothing);
}

// IOleInPlaceFrame: no menus or status line to merge with.

STDMETHODIMP WebBrowserFrame::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS widths) noexcept {
  return GuardedCall(
      [&] {
        if (!widths) return E_POINTER;
        for (LONG& width : widths->width) width = 0;
        return S_OK;
      },
      AfterCall::kNothing);
}

STDMETHODIMP WebBrowserFrame::SetMenu(HMENU, HOLEMENU, HWND) noexcept {
  return GuardedCall([] { return S_OK; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserFrame::RemoveMenus(HMENU) noexcept {
  return GuardedCall([] { return S_OK; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserFrame::SetStatusText(LPCOLESTR) noexcept {
  return GuardedCall([] { return S_OK; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserFrame::EnableModeless(BOOL) noexcept {
  return GuardedCall([] { return S_OK; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserFrame::TranslateAccelerator(LPMSG, WORD) noexcept {
  // The frame has no accelerators of its own: the key is not used here.
  return GuardedCall([] { return S_FALSE; }, AfterCall::kNothing);
}

}  // namespace windlock::win32
