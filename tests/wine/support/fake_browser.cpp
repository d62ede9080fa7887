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

HRESULT STDMETHODCALLTYPE FakeBrowser::get_LocationURL(BSTR* url) {
  if (!url) return E_POINTER;
  *url = SysAllocString(location_url_.c_str());
  return S_OK;
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

HRESULT STDMETHODCALLTYPE FakeBrowser::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = nullptr;
  if (iid != DIID_DWebBrowserEvents2) return kNoConnection;
  *point = ComPtr<IConnectionPoint>::Share(this).Detach();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeBrowser::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = DIID_DWebBrowserEvents2;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE
FakeBrowser::GetConnectionPointContainer(IConnectionPointContainer** out) {
  if (!out) return E_POINTER;
  *out = ComPtr<IConnectionPointContainer>::Share(this).Detach();
  return S_OK;
}

// As the browser does: the sink is asked for the events interface first, then for IDispatch.
HRESULT STDMETHODCALLTYPE FakeBrowser::Advise(IUnknown* sink, DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  ComPtr<IDispatch> dispatch;
  if (FAILED(sink->QueryInterface(DIID_DWebBrowserEvents2, dispatch.PutVoid())) &&
      FAILED(sink->QueryInterface(IID_IDispatch, dispatch.PutVoid()))) {
    *cookie = 0;
    return kCannotConnect;
  }
  *cookie = next_cookie_++;
  sinks_[*cookie] = dispatch;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeBrowser::Unadvise(DWORD cookie) {
  auto sink = sinks_.find(cookie);
  if (sink == sinks_.end()) return kNoConnection;
  // Released after the map no longer holds it: the sink's release may call back.
  ComPtr<IDispatch> released = std::move(sink->second);
  sinks_.erase(sink);
  return S_OK;
}

}  // namespace windlock_test
