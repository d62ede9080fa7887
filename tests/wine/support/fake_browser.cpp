#include "support/fake_browser.h"

#include <exdispid.h>

namespace windlock_test {
namespace {

// olectl.h's connection point errors, which MinGW-w64's headers lack.
constexpr HRESULT kNoConnection = static_cast<HRESULT>(0x80040200);
constexpr HRESULT kCannotConnect = static_cast<HRESULT>(0x80040202);

bool Missing(const VARIANT* argument) {
  return !argument || argument->vt == VT_EMPTY ||
         (argument->vt == VT_ERROR && argument->scode == DISP_E_PARAMNOTFOUND);
}

}  // namespace

HRESULT FakeBrowser::NotImplemented(const char* member) {
  unexpected_calls_.push_back(member);
  return E_NOTIMPL;
}

HRESULT FakeBrowser::Fire(DISPID event, std::vector<VARIANTARG> arguments) {
  DISPPARAMS parameters = {arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
  HRESULT result = E_FAIL;
  // A copy: a sink may unadvise while it handles the event.
  std::map<DWORD, ComPtr<IDispatch>> sinks = sinks_;
  for (auto& [cookie, sink] : sinks) {
    result = sink->Invoke(event, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters,
                          nullptr, nullptr, nullptr);
  }
  return result;
}

HRESULT FakeBrowser::FireNewWindow2(IDispatch** window, VARIANT_BOOL* cancel) {
  std::vector<VARIANTARG> arguments(2);
  arguments[0].vt = VT_BYREF | VT_BOOL;
  arguments[0].pboolVal = cancel;
  arguments[1].vt = VT_BYREF | VT_DISPATCH;
  arguments[1].ppdispVal = window;
  return Fire(DISPID_NEWWINDOW2, std::move(arguments));
}

HRESULT FakeBrowser::FireOnQuit() {
  return Fire(DISPID_ONQUIT);
}

HRESULT STDMETHODCALLTYPE FakeBrowser::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeBrowser::get_LocationURL(BSTR* url) {
  if (!url) return E_POINTER;
  *url = SysAllocString(location_url_.c_str());
  return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeBrowser::get_HWND(SHANDLE_PTR* window) {
  if (!window) return E_POINTER;
  *window = reinterpret_cast<SHANDLE_PTR>(window_);
  return window_ ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE FakeBrowser::ShowBrowserBar(VARIANT* clsid, VARIANT* show,
                                                      VARIANT* size) {
  ShowBrowserBarCall call;
  if (clsid) {
    call.clsid_type = clsid->vt;
    if (clsid->vt == VT_BSTR && clsid->bstrVal) call.clsid = clsid->bstrVal;
  }
  if (show) {
    call.show_type = show->vt;
    if (show->vt == VT_BOOL) call.show = show->boolVal;
  }
  call.size_given = !Missing(size);
  show_browser_bar_calls_.push_back(call);
  return S_OK;
}

class FakeBrowser::EventsConnectionPoint final
    : public windlock::win32::ComObject<EventsConnectionPoint, IConnectionPoint> {
 public:
  explicit EventsConnectionPoint(ComPtr<FakeBrowser> browser) : browser_(std::move(browser)) {}
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE
  GetConnectionPointContainer(IConnectionPointContainer** container) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override;

 private:
  ~EventsConnectionPoint() override = default;

  ComPtr<FakeBrowser> browser_;
};

HRESULT STDMETHODCALLTYPE FakeBrowser::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  if (iid != DIID_DWebBrowserEvents2) {
    *point = nullptr;
    return kNoConnection;
  }
  *point = EventsConnectionPoint::Make(ComPtr<FakeBrowser>::Share(this)).Detach();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeBrowser::EventsConnectionPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = DIID_DWebBrowserEvents2;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeBrowser::EventsConnectionPoint::GetConnectionPointContainer(
    IConnectionPointContainer** container) {
  if (!container) return E_POINTER;
  *container = ComPtr<IConnectionPointContainer>::Share(browser_.get()).Detach();
  return S_OK;
}

// As the browser does: the sink is asked for the events interface first, then for IDispatch.
HRESULT STDMETHODCALLTYPE FakeBrowser::EventsConnectionPoint::Advise(IUnknown* sink,
                                                                     DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  ComPtr<IDispatch> dispatch;
  if (FAILED(sink->QueryInterface(DIID_DWebBrowserEvents2, dispatch.PutVoid())) &&
      FAILED(sink->QueryInterface(IID_IDispatch, dispatch.PutVoid()))) {
    *cookie = 0;
    return kCannotConnect;
  }
  *cookie = browser_->next_cookie_++;
  browser_->sinks_[*cookie] = dispatch;
  browser_->advised_cookies_.push_back(*cookie);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeBrowser::EventsConnectionPoint::Unadvise(DWORD cookie) {
  auto sink = browser_->sinks_.find(cookie);
  if (sink == browser_->sinks_.end()) {
    ++browser_->bad_unadvise_count_;
    return kNoConnection;
  }
  // Released after the map no longer holds it: the sink's release may call back.
  ComPtr<IDispatch> released = std::move(sink->second);
  browser_->sinks_.erase(sink);
  browser_->unadvised_cookies_.push_back(cookie);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeBrowser::EventsConnectionPoint::EnumConnections(IEnumConnections**) {
  return browser_->NotImplemented("IConnectionPoint::EnumConnections");
}

#define WINDLOCK_NOT_IMPLEMENTED(member, ...)                  \
  HRESULT STDMETHODCALLTYPE FakeBrowser::member(__VA_ARGS__) { \
    return NotImplemented(#member);                            \
  }

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
WINDLOCK_NOT_IMPLEMENTED(get_Left, LONG*)
WINDLOCK_NOT_IMPLEMENTED(put_Left, LONG)
WINDLOCK_NOT_IMPLEMENTED(get_Top, LONG*)
WINDLOCK_NOT_IMPLEMENTED(put_Top, LONG)
WINDLOCK_NOT_IMPLEMENTED(get_Width, LONG*)
WINDLOCK_NOT_IMPLEMENTED(put_Width, LONG)
WINDLOCK_NOT_IMPLEMENTED(get_Height, LONG*)
WINDLOCK_NOT_IMPLEMENTED(put_Height, LONG)
WINDLOCK_NOT_IMPLEMENTED(get_LocationName, BSTR*)
WINDLOCK_NOT_IMPLEMENTED(get_Busy, VARIANT_BOOL*)
WINDLOCK_NOT_IMPLEMENTED(Quit)
WINDLOCK_NOT_IMPLEMENTED(ClientToWindow, int*, int*)
WINDLOCK_NOT_IMPLEMENTED(PutProperty, BSTR, VARIANT)
WINDLOCK_NOT_IMPLEMENTED(GetProperty, BSTR, VARIANT*)
WINDLOCK_NOT_IMPLEMENTED(get_Name, BSTR*)
WINDLOCK_NOT_IMPLEMENTED(get_FullName, BSTR*)
WINDLOCK_NOT_IMPLEMENTED(get_Path, BSTR*)
WINDLOCK_NOT_IMPLEMENTED(get_Visible, VARIANT_BOOL*)
WINDLOCK_NOT_IMPLEMENTED(put_Visible, VARIANT_BOOL)
WINDLOCK_NOT_IMPLEMENTED(get_StatusBar, VARIANT_BOOL*)
WINDLOCK_NOT_IMPLEMENTED(put_StatusBar, VARIANT_BOOL)
WINDLOCK_NOT_IMPLEMENTED(get_StatusText, BSTR*)
WINDLOCK_NOT_IMPLEMENTED(put_StatusText, BSTR)
WINDLOCK_NOT_IMPLEMENTED(get_ToolBar, int*)
WINDLOCK_NOT_IMPLEMENTED(put_ToolBar, int)
WINDLOCK_NOT_IMPLEMENTED(get_MenuBar, VARIANT_BOOL*)
WINDLOCK_NOT_IMPLEMENTED(put_MenuBar, VARIANT_BOOL)
WINDLOCK_NOT_IMPLEMENTED(get_FullScreen, VARIANT_BOOL*)
WINDLOCK_NOT_IMPLEMENTED(put_FullScreen, VARIANT_BOOL)
WINDLOCK_NOT_IMPLEMENTED(Navigate2, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
WINDLOCK_NOT_IMPLEMENTED(QueryStatusWB, OLECMDID, OLECMDF*)
WINDLOCK_NOT_IMPLEMENTED(ExecWB, OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*)
WINDLOCK_NOT_IMPLEMENTED(get_ReadyState, READYSTATE*)
WINDLOCK_NOT_IMPLEMENTED(get_Offline, VARIANT_BOOL*)
WINDLOCK_NOT_IMPLEMENTED(put_Offline, VARIANT_BOOL)
WINDLOCK_NOT_IMPLEMENTED(get_Silent, VARIANT_BOOL*)
WINDLOCK_NOT_IMPLEMENTED(put_Silent, VARIANT_BOOL)
WINDLOCK_NOT_IMPLEMENTED(get_RegisterAsBrowser, VARIANT_BOOL*)
WINDLOCK_NOT_IMPLEMENTED(put_RegisterAsBrowser, VARIANT_BOOL)
WINDLOCK_NOT_IMPLEMENTED(get_RegisterAsDropTarget, VARIANT_BOOL*)
WINDLOCK_NOT_IMPLEMENTED(put_RegisterAsDropTarget, VARIANT_BOOL)
WINDLOCK_NOT_IMPLEMENTED(get_TheaterMode, VARIANT_BOOL*)
WINDLOCK_NOT_IMPLEMENTED(put_TheaterMode, VARIANT_BOOL)
WINDLOCK_NOT_IMPLEMENTED(get_AddressBar, VARIANT_BOOL*)
WINDLOCK_NOT_IMPLEMENTED(put_AddressBar, VARIANT_BOOL)
WINDLOCK_NOT_IMPLEMENTED(get_Resizable, VARIANT_BOOL*)
WINDLOCK_NOT_IMPLEMENTED(put_Resizable, VARIANT_BOOL)
WINDLOCK_NOT_IMPLEMENTED(EnumConnectionPoints, IEnumConnectionPoints**)

#undef WINDLOCK_NOT_IMPLEMENTED

}  // namespace windlock_test
