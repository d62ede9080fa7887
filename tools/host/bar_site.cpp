#include "bar_site.h"

#include <shlguid.h>

#include <utility>

namespace windlock::host {

using win32::ComGuard;

BarSite::BarSite(HWND pane, win32::ComPtr<IWebBrowser2> browser)
    : pane_(pane), browser_(std::move(browser)) {}

// IOleWindow

STDMETHODIMP BarSite::GetWindow(HWND* window) noexcept {
  return ComGuard([&] {
    if (!window) return E_POINTER;
    *window = pane_;
    return S_OK;
  });
}

STDMETHODIMP BarSite::ContextSensitiveHelp(BOOL) noexcept {
  return ComGuard([] { return E_NOTIMPL; });
}

// IServiceProvider

STDMETHODIMP BarSite::QueryService(REFGUID service, REFIID iid, void** object) noexcept {
  return ComGuard([&] {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (service != SID_SWebBrowserApp) return E_NOINTERFACE;
    return browser_->QueryInterface(iid, object);
  });
}

// IInputObjectSite

STDMETHODIMP BarSite::OnFocusChangeIS(IUnknown*, BOOL) noexcept {
  // The message loop asks the band itself (HasFocusIO) before each key, so there is nothing to
  // keep here.
  return ComGuard([] { return S_OK; });
}

}  // namespace windlock::host
