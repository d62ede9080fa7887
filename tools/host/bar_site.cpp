#include "bar_site.h"

#include <shlguid.h>

#include <utility>

namespace windlock::host {

using win32::AfterCall;
using win32::GuardedCall;

BarSite::BarSite(HWND pane, win32::ComPtr<IWebBrowser2> browser)
    : pane_(pane), browser_(std::move(browser)) {}

// IOleWindow

STDMETHODIMP BarSite::GetWindow(HWND* window) noexcept {
  return GuardedCall(
      [&] {
        if (!window) return E_POINTER;
        *window = pane_;
        return S_OK;
      },
      AfterCall::kNothing);
}

STDMETHODIMP BarSite::ContextSensitiveHelp(BOOL) noexcept {
  return GuardedCall([] { return E_NOTIMPL; }, AfterCall::kNothing);
}

// IServiceProvider

STDMETHODIMP BarSite::QueryService(REFGUID service, REFIID iid, void** object) noexcept {
  return GuardedCall(
      [&] {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (service != SID_SWebBrowserApp) return E_NOINTERFACE;
        return browser_->QueryInterface(iid, object);
      },
      AfterCall::kNothing);
}

// IInputObjectSite

STDMETHODIMP BarSite::OnFocusChangeIS(IUnknown*, BOOL) noexcept {
  // The message loop asks the band itself (HasFocusIO) before each key, so there is nothing to
  // keep here.
  return GuardedCall([] { return S_OK; }, AfterCall::kNothing);
}

}  // namespace windlock::host
