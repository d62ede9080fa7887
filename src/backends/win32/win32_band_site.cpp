#include "backends/win32/win32_band_site.h"

#include <servprov.h>

#include "backends/win32/com/win32_error.h"

namespace windlock::win32 {

Win32BandSite::Win32BandSite(ComPtr<IUnknown> site, IUnknown* band)
    : site_(std::move(site)),
      band_(band),
      ole_window_(site_.As<IOleWindow>()),
      input_object_site_(site_.As<IInputObjectSite>()) {}

WindowHandle Win32BandSite::GetWindow() {
  HWND window = nullptr;
  ThrowIfFailed(ole_window_->GetWindow(&window));
  return reinterpret_cast<WindowHandle>(window);
}

Browser& Win32BandSite::QueryBrowser() {
  if (!browser_) {
    auto provider = site_.As<IServiceProvider>();
    if (!provider) throw ErrorFromHresult(E_NOINTERFACE);
    ComPtr<IWebBrowser2> browser;
    ThrowIfFailed(provider->QueryService(SID_SWebBrowserApp, IID_IWebBrowser2, browser.PutVoid()));
    browser_ = std::make_unique<Win32Browser>(std::move(browser));
  }
  return *browser_;
}

InputObjectSite* Win32BandSite::GetInputObjectSite() {
  return input_object_site_ ? this : nullptr;
}

void Win32BandSite::OnFocusChangeIS(bool has_focus) {
  // True goes as all bits set.
  input_object_site_->OnFocusChangeIS(band_, has_focus ? -1 : 0);
}

}  // namespace windlock::win32
