#pragma once

#include <windows.h>

#include <exdisp.h>
#include <ocidl.h>

#include <map>
#include <string>
#include <vector>

#include "platform/win32/com_object.h"
#include "support/identity.h"

namespace windlock_test {

// What ShowBrowserBar was given.
struct ShowBrowserBarCall {
  VARTYPE clsid_type = VT_EMPTY;
  std::wstring clsid;  // when clsid_type is VT_BSTR
  VARTYPE show_type = VT_EMPTY;
  VARIANT_BOOL show = VARIANT_FALSE;  // when show_type is VT_BOOL
  // Anything but a missing argument (a null pointer, VT_EMPTY or DISP_E_PARAMNOTFOUND).
  bool size_given = false;
};

// The browser window that hosts the band, as far as the band uses it: its address, its
// ShowBrowserBar, and DWebBrowserEvents2 through its connection point, which the test fires the
// way the browser does. Every other member answers E_NOTIMPL and is noted in unexpected_calls().
class FakeBrowser final
    : public windlock::win32::ComObject<
          FakeBrowser,
          windlock::win32::Implements<IWebBrowser2, IDispatch, IWebBrowser, IWebBrowserApp>,
          IConnectionPointContainer> {
 public:
  // The test's side.
  void set_location_url(const std::wstring& url) { location_url_ = url; }
  void set_window(HWND window) { window_ = window; }
  ULONG reference_count() {
    AddRef();
    return Release();
  }
  // The sinks advised and not yet unadvised, by cookie.
  std::size_t sink_count() const { return sinks_.size(); }
  const std::vector<DWORD>& advised_cookies() const { return advised_cookies_; }
  const std::vector<DWORD>& unadvised_cookies() const { return unadvised_cookies_; }
  // Unadvise calls with a cookie that named no sink.
  int bad_unadvise_count() const { return bad_unadvise_count_; }
  const std::vector<ShowBrowserBarCall>& show_browser_bar_calls() const {
    return show_browser_bar_calls_;
  }
  const std::vector<std::string>& unexpected_calls() const { return unexpected_calls_; }

  // Calls Invoke on every advised sink, as the browser raises an event; `arguments` in
  // DISPPARAMS order (the last argument first). Returns the last sink's result, or E_FAIL when
  // no sink is advised.
  HRESULT Fire(DISPID event, std::vector<VARIANTARG> arguments = {});
  HRESULT FireNewWindow2(IDispatch** window, VARIANT_BOOL* cancel);
  HRESULT FireOnQuit();

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override;

  // IWebBrowser
  HRESULT STDMETHODCALLTYPE GoBack() override;
  HRESULT STDMETHODCALLTYPE GoForward() override;
  HRESULT STDMETHODCALLTYPE GoHome() override;
  HRESULT STDMETHODCALLTYPE GoSearch() override;
  HRESULT STDMETHODCALLTYPE Navigate(BSTR, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override;
  HRESULT STDMETHODCALLTYPE Refresh() override;
  HRESULT STDMETHODCALLTYPE Refresh2(VARIANT*) override;
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE get_Application(IDispatch**) override;
  HRESULT STDMETHODCALLTYPE get_Parent(IDispatch**) override;
  HRESULT STDMETHODCALLTYPE get_Container(IDispatch**) override;
  HRESULT STDMETHODCALLTYPE get_Document(IDispatch**) override;
  HRESULT STDMETHODCALLTYPE get_TopLevelContainer(VARIANT_BOOL*) override;
  HRESULT STDMETHODCALLTYPE get_Type(BSTR*) override;
  HRESULT STDMETHODCALLTYPE get_Left(LONG*) override;
  HRESULT STDMETHODCALLTYPE put_Left(LONG) override;
  HRESULT STDMETHODCALLTYPE get_Top(LONG*) override;
  HRESULT STDMETHODCALLTYPE put_Top(LONG) override;
  HRESULT STDMETHODCALLTYPE get_Width(LONG*) override;
  HRESULT STDMETHODCALLTYPE put_Width(LONG) override;
  HRESULT STDMETHODCALLTYPE get_Height(LONG*) override;
  HRESULT STDMETHODCALLTYPE put_Height(LONG) override;
  HRESULT STDMETHODCALLTYPE get_LocationName(BSTR*) override;
  HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR* url) override;
  HRESULT STDMETHODCALLTYPE get_Busy(VARIANT_BOOL*) override;

  // IWebBrowserApp
  HRESULT STDMETHODCALLTYPE Quit() override;
  HRESULT STDMETHODCALLTYPE ClientToWindow(int*, int*) override;
  HRESULT STDMETHODCALLTYPE PutProperty(BSTR, VARIANT) override;
  HRESULT STDMETHODCALLTYPE GetProperty(BSTR, VARIANT*) override;
  HRESULT STDMETHODCALLTYPE get_Name(BSTR*) override;
  HRESULT STDMETHODCALLTYPE get_HWND(SHANDLE_PTR* window) override;
  HRESULT STDMETHODCALLTYPE get_FullName(BSTR*) override;
  HRESULT STDMETHODCALLTYPE get_Path(BSTR*) override;
  HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL*) override;
  HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL) override;
  HRESULT STDMETHODCALLTYPE get_StatusBar(VARIANT_BOOL*) override;
  HRESULT STDMETHODCALLTYPE put_StatusBar(VARIANT_BOOL) override;
  HRESULT STDMETHODCALLTYPE get_StatusText(BSTR*) override;
  HRESULT STDMETHODCALLTYPE put_StatusText(BSTR) override;
  HRESULT STDMETHODCALLTYPE get_ToolBar(int*) override;
  HRESULT STDMETHODCALLTYPE put_ToolBar(int) override;
  HRESULT STDMETHODCALLTYPE get_MenuBar(VARIANT_BOOL*) override;
  HRESULT STDMETHODCALLTYPE put_MenuBar(VARIANT_BOOL) override;
  HRESULT STDMETHODCALLTYPE get_FullScreen(VARIANT_BOOL*) override;
  HRESULT STDMETHODCALLTYPE put_FullScreen(VARIANT_BOOL) override;

  // IWebBrowser2
  HRESULT STDMETHODCALLTYPE Navigate2(VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override;
  HRESULT STDMETHODCALLTYPE QueryStatusWB(OLECMDID, OLECMDF*) override;
  HRESULT STDMETHODCALLTYPE ExecWB(OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*) override;
  HRESULT STDMETHODCALLTYPE ShowBrowserBar(VARIANT* clsid, VARIANT* show, VARIANT* size) override;
  HRESULT STDMETHODCALLTYPE get_ReadyState(READYSTATE*) override;
  HRESULT STDMETHODCALLTYPE get_Offline(VARIANT_BOOL*) override;
  HRESULT STDMETHODCALLTYPE put_Offline(VARIANT_BOOL) override;
  HRESULT STDMETHODCALLTYPE get_Silent(VARIANT_BOOL*) override;
  HRESULT STDMETHODCALLTYPE put_Silent(VARIANT_BOOL) override;
  HRESULT STDMETHODCALLTYPE get_RegisterAsBrowser(VARIANT_BOOL*) override;
  HRESULT STDMETHODCALLTYPE put_RegisterAsBrowser(VARIANT_BOOL) override;
  HRESULT STDMETHODCALLTYPE get_RegisterAsDropTarget(VARIANT_BOOL*) override;
  HRESULT STDMETHODCALLTYPE put_RegisterAsDropTarget(VARIANT_BOOL) override;
  HRESULT STDMETHODCALLTYPE get_TheaterMode(VARIANT_BOOL*) override;
  HRESULT STDMETHODCALLTYPE put_TheaterMode(VARIANT_BOOL) override;
  HRESULT STDMETHODCALLTYPE get_AddressBar(VARIANT_BOOL*) override;
  HRESULT STDMETHODCALLTYPE put_AddressBar(VARIANT_BOOL) override;
  HRESULT STDMETHODCALLTYPE get_Resizable(VARIANT_BOOL*) override;
  HRESULT STDMETHODCALLTYPE put_Resizable(VARIANT_BOOL) override;

  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

 private:
  // DWebBrowserEvents2's connection point: one for each FindConnectionPoint, holding the browser.
  class EventsConnectionPoint;

  ~FakeBrowser() override = default;

  HRESULT NotImplemented(const char* member);

  std::wstring location_url_;
  HWND window_ = nullptr;
  std::map<DWORD, ComPtr<IDispatch>> sinks_;
  // Not 1: a band that passes Unadvise a made-up cookie must not get away with it.
  DWORD next_cookie_ = 0x5150;
  std::vector<DWORD> advised_cookies_;
  std::vector<DWORD> unadvised_cookies_;
  int bad_unadvise_count_ = 0;
  std::vector<ShowBrowserBarCall> show_browser_bar_calls_;
  std::vector<std::string> unexpected_calls_;
};

}  // namespace windlock_test
