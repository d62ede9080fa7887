#include "backends/win32/web_browser_frame.h"

namespace windlock::win32 {

// IOleWindow

STDMETHODIMP WebBrowserFrame::GetWindow(HWND* window) noexcept {
  return ComGuard([&] {
    if (!window) return E_POINTER;
    *window = window_;
    return S_OK;
  });
}

STDMETHODIMP WebBrowserFrame::ContextSensitiveHelp(BOOL) noexcept {
  return ComGuard([] { return E_NOTIMPL; });
}

// IOleInPlaceUIWindow: the pane has no tool space around it.

STDMETHODIMP WebBrowserFrame::GetBorder(LPRECT) noexcept {
  return ComGuard([] { return INPLACE_E_NOTOOLSPACE; });
}

STDMETHODIMP WebBrowserFrame::RequestBorderSpace(LPCBORDERWIDTHS) noexcept {
  return ComGuard([] { return INPLACE_E_NOTOOLSPACE; });
}

STDMETHODIMP WebBrowserFrame::SetBorderSpace(LPCBORDERWIDTHS widths) noexcept {
  // No widths means the object needs no space, which is all there is.
  return ComGuard([&] { return widths ? INPLACE_E_NOTOOLSPACE : S_OK; });
}

STDMETHODIMP WebBrowserFrame::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) noexcept {
  return ComGuard([&] { active_object_ = ComPtr<IOleInPlaceActiveObject>::Share(object); });
}

// IOleInPlaceFrame: no menus or status line to merge with.

STDMETHODIMP WebBrowserFrame::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS widths) noexcept {
  return ComGuard([&] {
    if (!widths) return E_POINTER;
    for (LONG& width : widths->width) width = 0;
    return S_OK;
  });
}

STDMETHODIMP WebBrowserFrame::SetMenu(HMENU, HOLEMENU, HWND) noexcept {
  return ComGuard([] { return S_OK; });
}

STDMETHODIMP WebBrowserFrame::RemoveMenus(HMENU) noexcept {
  return ComGuard([] { return S_OK; });
}

STDMETHODIMP WebBrowserFrame::SetStatusText(LPCOLESTR) noexcept {
  return ComGuard([] { return S_OK; });
}

STDMETHODIMP WebBrowserFrame::EnableModeless(BOOL) noexcept {
  return ComGuard([] { return S_OK; });
}

STDMETHODIMP WebBrowserFrame::TranslateAccelerator(LPMSG, WORD) noexcept {
  // The frame has no accelerators of its own: the key is not used here.
  return ComGuard([] { return S_FALSE; });
}

}  // namespace windlock::win32
