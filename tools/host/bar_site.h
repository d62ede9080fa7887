#pragma once

#include <windows.h>

#include <exdisp.h>
#include <ole2.h>
#include <servprov.h>
#include <shobjidl.h>

#include <functional>

#include "backends/win32/com/com_object.h"

namespace windlock::host {

// What the host gives the band in SetSite, as a browser gives its Explorer Bars: the window the
// bar lives in (IOleWindow), the browser it serves (IServiceProvider, SID_SWebBrowserApp) and
// a listener for its focus reports (IInputObjectSite).
class BarSite final
    : public win32::ComObject<BarSite, IServiceProvider, IOleWindow, IInputObjectSite> {
 public:
  // `gave_up_focus` runs when the band reports that it no longer has the focus.
  BarSite(HWND pane, win32::ComPtr<IWebBrowser2> browser, std::function<void()> gave_up_focus);

  // IOleWindow
  STDMETHODIMP GetWindow(HWND* window) noexcept override;
  STDMETHODIMP ContextSensitiveHelp(BOOL enter_mode) noexcept override;
  // IServiceProvider
  STDMETHODIMP QueryService(REFGUID service, REFIID iid, void** object) noexcept override;
  // IInputObjectSite
  STDMETHODIMP OnFocusChangeIS(IUnknown* object, BOOL has_focus) noexcept override;

 private:
  ~BarSite() override = default;

  HWND pane_;
  win32::ComPtr<IWebBrowser2> browser_;
  std::function<void()> gave_up_focus_;
};

}  // namespace windlock::host
