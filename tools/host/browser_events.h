#pragma once

#include <windows.h>

#include <exdisp.h>
#include <oaidl.h>

#include <string>

#include "backends/win32/com/com_object.h"

namespace windlock::host {

// What the host window shows of its browser's events. Only the top-level page's navigations are
// reported, not those of its frames.
class BrowserListener {
 public:
  virtual void StatusTextChanged(const std::wstring& text) = 0;
  virtual void TitleChanged(const std::wstring& title) = 0;
  virtual void Navigating(const std::wstring& url) = 0;
  virtual void Navigated(const std::wstring& url) = 0;
  virtual void NavigationFailed(const std::wstring& url, long status) = 0;
  // CSC_NAVIGATEBACK or CSC_NAVIGATEFORWARD became possible or not.
  virtual void CommandStateChanged(long command, bool enabled) = 0;

 protected:
  ~BrowserListener() = default;
};

// The DWebBrowserEvents2 sink of the host's browser pane, handing the events the window shows to
// its listener. `browser` is the pane's browser, told apart from its frames by identity.
class BrowserEvents final
    : public win32::ComObject<BrowserEvents, win32::Implements<IDispatch, DWebBrowserEvents2>> {
 public:
  BrowserEvents(IWebBrowser2* browser, BrowserListener* listener);

  // After this, events are dropped: the listener may already be gone.
  void Disconnect() { listener_ = nullptr; }

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO*, UINT*) noexcept override;

 private:
  ~BrowserEvents() override = default;

  bool IsTopLevel(const VARIANT& browser) const;

  // The browser's identity, compared with and never called.
  IUnknown* top_level_;
  BrowserListener* listener_;
};

}  // namespace windlock::host
