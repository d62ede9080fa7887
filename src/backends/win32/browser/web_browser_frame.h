#pragma once

#include <windows.h>

#include <oleidl.h>

#include "backends/win32/com/com_object.h"

namespace windlock::win32 {

// The in-place frame a hosted WebBrowser control sees: the owner's window, with no menus, tool
// space or status line to share. It keeps the object that is UI-active, which takes the pane's
// keys.
class WebBrowserFrame
    : public ComObject<WebBrowserFrame,
                       Implements<IOleInPlaceFrame, IOleInPlaceUIWindow, IOleWindow>> {
 public:
  explicit WebBrowserFrame(HWND window) : window_(window) {}

  // The object that is UI-active now, or none.
  const ComPtr<IOleInPlaceActiveObject>& active_object() const { return active_object_; }

  // IOleWindow
  STDMETHODIMP GetWindow(HWND* window) noexcept override;
  STDMETHODIMP ContextSensitiveHelp(BOOL enter_mode) noexcept override;

  // IOleInPlaceUIWindow
  STDMETHODIMP GetBorder(LPRECT border) noexcept override;
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS widths) noexcept override;
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) noexcept override;
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR name) noexcept override;

  // IOleInPlaceFrame
  STDMETHODIMP InsertMenus(HMENU shared, LPOLEMENUGROUPWIDTHS widths) noexcept override;
  STDMETHODIMP SetMenu(HMENU shared, HOLEMENU descriptor, HWND object_window) noexcept override;
  STDMETHODIMP RemoveMenus(HMENU shared) noexcept override;
  STDMETHODIMP SetStatusText(LPCOLESTR text) noexcept override;
  STDMETHODIMP EnableModeless(BOOL enable) noexcept override;
  STDMETHODIMP TranslateAccelerator(LPMSG message, WORD id) noexcept override;

 protected:
  ~WebBrowserFrame() override = default;

 private:
  HWND window_;
  ComPtr<IOleInPlaceActiveObject> active_object_;
};

}  // namespace windlock::win32
