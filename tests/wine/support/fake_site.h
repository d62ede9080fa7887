#pragma once

#include <windows.h>

#include <exdisp.h>
#include <ole2.h>
#include <servprov.h>
#include <shobjidl.h>

#include <vector>

#include "backends/win32/com/com_object.h"
#include "support/identity.h"

namespace windlock_test {

// One IInputObjectSite::OnFocusChangeIS call.
struct FocusChange {
  IUnknown* object = nullptr;  // its identity, for comparing only
  BOOL has_focus = FALSE;
};

// The band site the browser gives its bands: the window the band goes into, the hosting browser
// as service SID_SWebBrowserApp, and IInputObjectSite, whose calls it records.
class FakeSite final
    : public windlock::win32::ComObject<FakeSite, IServiceProvider, IOleWindow, IInputObjectSite> {
 public:
  // `gives_ole_window` false: a site without IOleWindow, which a band cannot live in.
  FakeSite(HWND window, IWebBrowser2* browser, bool gives_ole_window = true);

  const std::vector<FocusChange>& focus_changes() const { return focus_changes_; }
  void clear_focus_changes() { focus_changes_.clear(); }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override;
  // IOleWindow
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  // IServiceProvider
  HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void** object) override;
  // IInputObjectSite
  HRESULT STDMETHODCALLTYPE OnFocusChangeIS(IUnknown* object, BOOL has_focus) override;

 private:
  ~FakeSite() override = default;

  HWND window_;
  ComPtr<IWebBrowser2> browser_;
  bool gives_ole_window_;
  std::vector<FocusChange> focus_changes_;
};

}  // namespace windlock_test
