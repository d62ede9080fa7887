#include "host_browser.h"

#include <utility>

#include "backends/win32/com/owned_variant.h"
#include "backends/win32/com/text.h"
#include "windlock/band_ids.h"

namespace windlock::host {
namespace {

using win32::AfterCall;
using win32::GuardedCall;

bool Missing(const VARIANT* argument) {
  return !argument || argument->vt == VT_EMPTY ||
         (argument->vt == VT_ERROR && argument->scode == DISP_E_PARAMNOTFOUND);
}

// Whether `bar` names the Windlock band, as its class identifier in braces, in any letter case.
bool IsWindlockBar(const VARIANT* bar) {
  if (!bar || bar->vt != VT_BSTR || !bar->bstrVal) return false;
  CLSID asked = {};
  CLSID ours = {};
  return SUCCEEDED(CLSIDFromString(bar->bstrVal, &asked)) &&
         SUCCEEDED(CLSIDFromString(win32::Widen(kBandClsid).c_str(), &ours)) && asked == ours;
}

}  // namespace

HostBrowser::HostBrowser(win32::ComPtr<IWebBrowser2> control, BrowserRequests* requests)
    : control_(std::move(control)),
      requests_(requests),
      relay_(EventRelay::Make(static_cast<IConnectionPointContainer*>(this))) {}

void HostBrowser::Close() noexcept {
  relay_->Close();
  control_.Reset();
  requests_ = nullptr;
}

template <class Call>
HRESULT HostBrowser::Forward(Call&& call) noexcept {
  return GuardedCall([&] { return control_ ? call(*control_.get()) : E_UNEXPECTED; },
                     AfterCall::kNothing);
}

// Each of these is the control's own.
#define WINDLOCK_FORWARD(name, parameters, arguments)                              \
  STDMETHODIMP HostBrowser::name parameters noexcept {                             \
    return Forward([&](IWebBrowser2& control) { return control.name arguments; }); \
  }

WINDLOCK_FORWARD(GetTypeInfoCount, (UINT * count), (count))
WINDLOCK_FORWARD(GetTypeInfo, (UINT index, LCID locale, ITypeInfo** info), (index, locale, info))
WINDLOCK_FORWARD(GetIDsOfNames, (REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids),
                 (iid, names, count, locale, ids))
WINDLOCK_FORWARD(GoBack, (), ())
WINDLOCK_FORWARD(GoForward, (), ())
WINDLOCK_FORWARD(GoHome, (), ())
WINDLOCK_FORWARD(GoSearch, (), ())
WINDLOCK_FORWARD(Navigate,
                 (BSTR url, VARIANT* flags, VARIANT* target, VARIANT* post_data, VARIANT* headers),
                 (url, flags, target, post_data, headers))
WINDLOCK_FORWARD(Refresh, (), ())
WINDLOCK_FORWARD(Refresh2, (VARIANT * level), (level))
WINDLOCK_FORWARD(Stop, (), ())
WINDLOCK_FORWARD(get_Application, (IDispatch * *value), (value))
WINDLOCK_FORWARD(get_Parent, (IDispatch * *value), (value))
WINDLOCK_FORWARD(get_Container, (IDispatch * *value), (value))
WINDLOCK_FORWARD(get_Document, (IDispatch * *value), (value))
WINDLOCK_FORWARD(get_TopLevelContainer, (VARIANT_BOOL * value), (value))
WINDLOCK_FORWARD(get_Type, (BSTR * value), (value))
WINDLOCK_FORWARD(get_Left, (LONG * value), (value))
WINDLOCK_FORWARD(put_Left, (LONG value), (value))
WINDLOCK_FORWARD(get_Top, (LONG * value), (value))
WINDLOCK_FORWARD(put_Top, (LONG value), (value))
WINDLOCK_FORWARD(get_Width, (LONG * value), (value))
WINDLOCK_FORWARD(put_Width, (LONG value), (value))
WINDLOCK_FORWARD(get_Height, (LONG * value), (value))
WINDLOCK_FORWARD(put_Height, (LONG value), (value))
WINDLOCK_FORWARD(get_LocationName, (BSTR * value), (value))
WINDLOCK_FORWARD(get_LocationURL, (BSTR * value), (value))
WINDLOCK_FORWARD(get_Busy, (VARIANT_BOOL * value), (value))
WINDLOCK_FORWARD(ClientToWindow, (int* width, int* height), (width, height))
WINDLOCK_FORWARD(PutProperty, (BSTR name, VARIANT value), (name, value))
WINDLOCK_FORWARD(GetProperty, (BSTR name, VARIANT* value), (name, value))
WINDLOCK_FORWARD(get_Name, (BSTR * value), (value))
WINDLOCK_FORWARD(get_HWND, (SHANDLE_PTR * value), (value))
WINDLOCK_FORWARD(get_FullName, (BSTR * value), (value))
WINDLOCK_FORWARD(get_Path, (BSTR * value), (value))
WINDLOCK_FORWARD(get_Visible, (VARIANT_BOOL * value), (value))
WINDLOCK_FORWARD(put_Visible, (VARIANT_BOOL value), (value))
WINDLOCK_FORWARD(get_StatusBar, (VARIANT_BOOL * value), (value))
WINDLOCK_FORWARD(put_StatusBar, (VARIANT_BOOL value), (value))
WINDLOCK_FORWARD(get_StatusText, (BSTR * value), (value))
WINDLOCK_FORWARD(put_StatusText, (BSTR value), (value))
WINDLOCK_FORWARD(get_ToolBar, (int* value), (value))
WINDLOCK_FORWARD(put_ToolBar, (int value), (value))
WINDLOCK_FORWARD(get_MenuBar, (VARIANT_BOOL * value), (value))
WINDLOCK_FORWARD(put_MenuBar, (VARIANT_BOOL value), (value))
WINDLOCK_FORWARD(get_FullScreen, (VARIANT_BOOL * value), (value))
WINDLOCK_FORWARD(put_FullScreen, (VARIANT_BOOL value), (value))
WINDLOCK_FORWARD(Navigate2,
                 (VARIANT * url, VARIANT* flags, VARIANT* target, VARIANT* post_data,
                  VARIANT* headers),
                 (url, flags, target, post_data, headers))
WINDLOCK_FORWARD(QueryStatusWB, (OLECMDID command, OLECMDF* status), (command, status))
WINDLOCK_FORWARD(ExecWB, (OLECMDID command, OLECMDEXECOPT option, VARIANT* in, VARIANT* out),
                 (command, option, in, out))
WINDLOCK_FORWARD(get_ReadyState, (READYSTATE * value), (value))
WINDLOCK_FORWARD(get_Offline, (VARIANT_BOOL * value), (value))
WINDLOCK_FORWARD(put_Offline, (VARIANT_BOOL value), (value))
WINDLOCK_FORWARD(get_Silent, (VARIANT_BOOL * value), (value))
WINDLOCK_FORWARD(put_Silent, (VARIANT_BOOL value), (value))
WINDLOCK_FORWARD(get_RegisterAsBrowser, (VARIANT_BOOL * value), (value))
WINDLOCK_FORWARD(put_RegisterAsBrowser, (VARIANT_BOOL value), (value))
WINDLOCK_FORWARD(get_RegisterAsDropTarget, (VARIANT_BOOL * value), (value))
WINDLOCK_FORWARD(put_RegisterAsDropTarget, (VARIANT_BOOL value), (value))
WINDLOCK_FORWARD(get_TheaterMode, (VARIANT_BOOL * value), (value))
WINDLOCK_FORWARD(put_TheaterMode, (VARIANT_BOOL value), (value))
WINDLOCK_FORWARD(get_AddressBar, (VARIANT_BOOL * value), (value))
WINDLOCK_FORWARD(put_AddressBar, (VARIANT_BOOL value), (value))
WINDLOCK_FORWARD(get_Resizable, (VARIANT_BOOL * value), (value))
WINDLOCK_FORWARD(put_Resizable, (VARIANT_BOOL value), (value))

#undef WINDLOCK_FORWARD

// Through IDispatch the control's own methods would be reached, past the host: a script's
// ShowBrowserBar or Quit is the control's.
STDMETHODIMP HostBrowser::Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                 VARIANT* result, EXCEPINFO* exception,
                                 UINT* bad_argument) noexcept {
  return Forward([&](IWebBrowser2& control) {
    return control.Invoke(id, iid, locale, flags, params, result, exception, bad_argument);
  });
}

STDMETHODIMP HostBrowser::Quit() noexcept {
  return GuardedCall(
      [&] {
        if (!requests_) return E_UNEXPECTED;
        requests_->RequestQuit();
        return S_OK;
      },
      AfterCall::kNothing);
}

STDMETHODIMP HostBrowser::ShowBrowserBar(VARIANT* bar, VARIANT* show, VARIANT* size) noexcept {
  if (!IsWindlockBar(bar)) {
    return Forward([&](IWebBrowser2& control) { return control.ShowBrowserBar(bar, show, size); });
  }
  return GuardedCall(
      [&] {
        if (!requests_) return E_UNEXPECTED;
        // Missing, the bar is shown, as a browser does.
        win32::OwnedVariant shown;
        if (!Missing(show) && FAILED(VariantChangeType(shown.get(), show, 0, VT_BOOL))) {
          return E_INVALIDARG;
        }
        requests_->RequestBar(Missing(show) || shown.get()->boolVal != VARIANT_FALSE);
        return S_OK;
      },
      AfterCall::kNothing);
}

STDMETHODIMP HostBrowser::EnumConnectionPoints(IEnumConnectionPoints** points) noexcept {
  return GuardedCall(
      [&] {
        if (points) *points = nullptr;
        return E_NOTIMPL;
      },
      AfterCall::kNothing);
}

STDMETHODIMP HostBrowser::FindConnectionPoint(REFIID iid, IConnectionPoint** point) noexcept {
  if (iid != DIID_DWebBrowserEvents2) {
    return Forward([&](IWebBrowser2& control) {
      auto container = win32::ComPtr<IWebBrowser2>::Share(&control).As<IConnectionPointContainer>();
      if (point) *point = nullptr;
      return container ? container->FindConnectionPoint(iid, point) : E_NOINTERFACE;
    });
  }
  return GuardedCall(
      [&] {
        if (!point) return E_POINTER;
        *point = relay_.get();
        relay_->AddRef();
        return S_OK;
      },
      AfterCall::kNothing);
}

}  // namespace windlock::host
