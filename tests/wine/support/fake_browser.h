#pragma once

#include <windows.h>

#include <exdisp.h>
#include <ocidl.h>

#include <map>
#include <string>
#include <vector>

#include "backends/win32/com/com_object.h"
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

#define WINDLOCK_NOT_IMPLEMENTED(member, ...)              \
  HRESULT STDMETHODCALLTYPE member(__VA_ARGS__) override { \
    return E_NOTIMPL;                                      \
  }
// A property's get_ and put_ members.
#define WINDLOCK_NOT_IMPLEMENTED_PROPERTY(name, type) \
  WINDLOCK_NOT_IMPLEMENTED(get_##name, type*)         \
  WINDLOCK_NOT_IMPLEMENTED(put_##name, type)

// The browser window that hosts the band, as far as the band uses it: its address, its
// ShowBrowserBar, and DWebBrowserEvents2 through its one connection point, which the test fires
// the way the browser does. Every other member answers E_NOTIMPL.
class FakeBrowser final
    : public windlock::win32::ComObject<
          FakeBrowser,
          windlock::win32::Implements<IWebBrowser2, IDispatch, IWebBrowser, IWebBrowserApp>,
          IConnectionPointContainer, IConnectionPoint> {
 public:
  void set_location_url(const std::wstring& url) { location_url_ = url; }
  // The sinks advised and not yet unadvised.
  std::size_t sink_count() const { return sinks_.size(); }
  const std::vector<ShowBrowserBarCall>& show_browser_bar_calls() const {
    return show_browser_bar_calls_;
  }

  // Calls Invoke on every advised sink, as the browser raises an event; `arguments` in
  // DISPPARAMS order (the last argument first). Returns the last sink's result, or E_FAIL when
  // no sink is advised.
  HRESULT Fire(DISPID event, std::vector<VARIANTARG> arguments = {});
  // A page opens a window: the new window's browser (null for the browser's own) and Cancel.
  HRESULT FireNewWindow2(IDispatch** window, VARIANT_BOOL* cancel);

  HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR* url) override;
  HRESULT STDMETHODCALLTYPE ShowBrowserBar(VARIANT* clsid, VARIANT* show, VARIANT* size) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;

  WINDLOCK_NOT_IMPLEMENTED(GetTypeInfoCount, UINT*)
  WINDLOCK_NOT_IMPLEMENTED(GetTypeInfo, UINT, LCID, ITypeInfo**)
  WINDLOCK_NOT_IMPLEMENTED(GetIDsOfNames, REFIID, LPOLESTR*, UINT, LCID, DISPID*)
  WINDLOCK_NOT_IMPLEMENTED(Invoke, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                           UINT*)
  WINDLOCK_NOT_IMPLEMENTED(GoBack)
  WINDLOCK_NOT_IMPLEMENTED(GoForward)
  WINDLOCK_NOT_IMPLEMENTED(GoHome)
  WINDLOCK_NOT_IMPLEMENTED(GoSearch)
  WINDLOCK_NOT_IMPLEMENTED(Navigate, BSTR, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
  WINDLOCK_NOT_IMPLEMENTED(Refresh)
  WINDLOCK_NOT_IMPLEMENTED(Refresh2, VARIANT*)
  WINDLOCK_NOT_IMPLEMENTED(Stop)
  WINDLOCK_NOT_IMPLEMENTED(get_Application, IDispatch**)
  WINDLOCK_NOT_IMPLEMENTED(get_Parent, IDispatch**)
  WINDLOCK_NOT_IMPLEMENTED(get_Container, IDispatch**)
  WINDLOCK_NOT_IMPLEMENTED(get_Document, IDispatch**)
  WINDLOCK_NOT_IMPLEMENTED(get_TopLevelContainer, VARIANT_BOOL*)
  WINDLOCK_NOT_IMPLEMENTED(get_Type, BSTR*)
  WINDLOCK_NOT_IMPLEMENTED_PROPERTY(Left, LONG)
  WINDLOCK_NOT_IMPLEMENTED_PROPERTY(Top, LONG)
  WINDLOCK_NOT_IMPLEMENTED_PROPERTY(Width, LONG)
  WINDLOCK_NOT_IMPLEMENTED_PROPERTY(Height, LONG)
  WINDLOCK_NOT_IMPLEMENTED(get_LocationName, BSTR*)
  WINDLOCK_NOT_IMPLEMENTED(get_Busy, VARIANT_BOOL*)
  WINDLOCK_NOT_IMPLEMENTED(Quit)
  WINDLOCK_NOT_IMPLEMENTED(ClientToWindow, int*, int*)
  WINDLOCK_NOT_IMPLEMENTED(PutProperty, BSTR, VARIANT)
  WINDLOCK_NOT_IMPLEMENTED(GetProperty, BSTR, VARIANT*)
  WINDLOCK_NOT_IMPLEMENTED(get_Name, BSTR*)
  WINDLOCK_NOT_IMPLEMENTED(get_HWND, SHANDLE_PTR*)
  WINDLOCK_NOT_IMPLEMENTED(get_FullName, BSTR*)
  WINDLOCK_NOT_IMPLEMENTED(get_Path, BSTR*)
  WINDLOCK_NOT_IMPLEMENTED_PROPERTY(Visible, VARIANT_BOOL)
  WINDLOCK_NOT_IMPLEMENTED_PROPERTY(StatusBar, VARIANT_BOOL)
  WINDLOCK_NOT_IMPLEMENTED_PROPERTY(StatusText, BSTR)
  WINDLOCK_NOT_IMPLEMENTED_PROPERTY(ToolBar, int)
  WINDLOCK_NOT_IMPLEMENTED_PROPERTY(MenuBar, VARIANT_BOOL)
  WINDLOCK_NOT_IMPLEMENTED_PROPERTY(FullScreen, VARIANT_BOOL)
  WINDLOCK_NOT_IMPLEMENTED(Navigate2, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
  WINDLOCK_NOT_IMPLEMENTED(QueryStatusWB, OLECMDID, OLECMDF*)
  WINDLOCK_NOT_IMPLEMENTED(ExecWB, OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*)
  WINDLOCK_NOT_IMPLEMENTED(get_ReadyState, READYSTATE*)
  WINDLOCK_NOT_IMPLEMENTED_PROPERTY(Offline, VARIANT_BOOL)
  WINDLOCK_NOT_IMPLEMENTED_PROPERTY(Silent, VARIANT_BOOL)
  WINDLOCK_NOT_IMPLEMENTED_PROPERTY(RegisterAsBrowser, VARIANT_BOOL)
  WINDLOCK_NOT_IMPLEMENTED_PROPERTY(RegisterAsDropTarget, VARIANT_BOOL)
  WINDLOCK_NOT_IMPLEMENTED_PROPERTY(TheaterMode, VARIANT_BOOL)
  WINDLOCK_NOT_IMPLEMENTED_PROPERTY(AddressBar, VARIANT_BOOL)
  WINDLOCK_NOT_IMPLEMENTED_PROPERTY(Resizable, VARIANT_BOOL)
  WINDLOCK_NOT_IMPLEMENTED(EnumConnectionPoints, IEnumConnectionPoints**)
  WINDLOCK_NOT_IMPLEMENTED(EnumConnections, IEnumConnections**)

 private:
  ~FakeBrowser() override = default;

  std::wstring location_url_;
  std::map<DWORD, ComPtr<IDispatch>> sinks_;
  // Not 1: a band that passes Unadvise a made-up cookie must not get away with it.
  DWORD next_cookie_ = 0x5150;
  std::vector<ShowBrowserBarCall> show_browser_bar_calls_;
};

#undef WINDLOCK_NOT_IMPLEMENTED_PROPERTY
#undef WINDLOCK_NOT_IMPLEMENTED

}  // namespace windlock_test
