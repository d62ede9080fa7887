#include "bar_site.h"

#include <shlguid.h>

#include <utility>

namespace windlock::host {

using win32::AfterCall;
using win32::GuardedCall;

BarSite::BarSite(HWND pane, win32::ComPtr<IWebBrowser2> browser,
                 std::function<void()> gave_up_focus)
    : pane_(pane), browser_(std::move(browser)), gave_up_focus_(std::move(gave_up_focus)) {}

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

STDMETHODIMP BarSite::OnFocusChangeIS(IUnknown*, BOOL has_focus) noexcept {
  // The message loop asks the band itself (HasFocusIO) before each key; what matters here is a
  // band that gives the focus up (Tab past its last control), which the host passes on.
  return GuardedCall(
      [&] {
        if (!has_focus && gave_up_focus_) gave_up_focus_();
      },
      AfterCall::kNothing);
}

}  // namespace windlock::host
