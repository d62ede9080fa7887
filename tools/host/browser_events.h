#pragma once

#include <windows.h>

#include <exdisp.h>
#include <oaidl.h>

#include <string>

#include "backends/win32/com/com_object.h"
#include "host_browser.h"

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
  // The page opens a window that the bar let through: the new window's browser, or none for the
  // control's own way of opening it.
  virtual win32::ComPtr<IDispatch> NewWindowAsked() = 0;
  // The page asks for its window's place (DISPID_WINDOWSETLEFT, ...TOP, ...WIDTH, ...HEIGHT).
  virtual void PlaceAsked(DISPID edge, long pixels) = 0;
  // The page asks for a part of its window (DISPID_WINDOWSETRESIZABLE, DISPID_ONTOOLBAR,
  // DISPID_ONSTATUSBAR) to be there or not.
  virtual void FeatureAsked(DISPID feature, bool wanted) = 0;
  // The page closes its window (window.close()).
  virtual void ClosingAsked() = 0;

 protected:
  ~BrowserListener() = default;
};

// The DWebBrowserEvents2 sink of the host's browser pane: each event goes to the bar first (through
// `relay`, the browser the bar was given), then what the window acts on to its listener.
// `browser` is the pane's browser, told apart from its frames by identity.
class BrowserEvents final
    : public win32::ComObject<BrowserEvents, win32::Implements<IDispatch, DWebBrowserEvents2>> {
 public:
  BrowserEvents(IWebBrowser2* browser, win32::ComPtr<HostBrowser> relay, BrowserListener* listener);

  // After this, events are dropped: the listener may already be gone.
  void Disconnect() {
    listener_ = nullptr;
    relay_.Reset();
  }

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO*, UINT*) noexcept override;

 private:
  ~BrowserEvents() override = default;

  bool IsTopLevel(const VARIANT& browser) const;
  void NewWindow2(DISPPARAMS& args);
  void WindowClosing(const DISPPARAMS& args);

  // The browser's identity, compared with and never called.
  IUnknown* top_level_;
  win32::ComPtr<HostBrowser> relay_;
  BrowserListener* listener_;
};

}  // namespace windlock::host
