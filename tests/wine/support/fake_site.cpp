#include "support/fake_site.h"

#include <shlguid.h>

namespace windlock_test {

FakeSite::FakeSite(HWND window, IWebBrowser2* browser, bool gives_ole_window)
    : window_(window),
      browser_(ComPtr<IWebBrowser2>::Share(browser)),
      gives_ole_window_(gives_ole_window) {}

HRESULT STDMETHODCALLTYPE FakeSite::QueryInterface(REFIID iid, void** object) noexcept {
  if (iid == IID_IOleWindow && !gives_ole_window_) {
    if (object) *object = nullptr;
    return E_NOINTERFACE;
  }
  return ComObject::QueryInterface(iid, object);
}

HRESULT STDMETHODCALLTYPE FakeSite::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = window_;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeSite::QueryService(REFGUID service, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (service != SID_SWebBrowserApp || !browser_) return E_NOINTERFACE;
  return browser_->QueryInterface(iid, object);
}

HRESULT STDMETHODCALLTYPE FakeSite::OnFocusChangeIS(IUnknown* object, BOOL has_focus) {
  focus_changes_.push_back({Identity(object), has_focus});
  return S_OK;
}

}  // namespace windlock_test
