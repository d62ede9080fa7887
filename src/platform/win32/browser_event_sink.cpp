#include "platform/win32/browser_event_sink.h"

#include <exdispid.h>

#include "platform/win32/text.h"
#include "platform/win32/variant_conversion.h"
#include "platform/win32/win32_browser.h"

namespace windlock::win32 {

STDMETHODIMP BrowserEventSink::GetTypeInfoCount(UINT* count) noexcept {
  return ComGuard([&] {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  });
}

STDMETHODIMP BrowserEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept {
  return ComGuard([&] {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  });
}

STDMETHODIMP BrowserEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept {
  return ComGuard([] { return E_NOTIMPL; });
}

STDMETHODIMP BrowserEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                      EXCEPINFO*, UINT*) noexcept {
  return ComGuard([&] {
    if (!events_ || !params) return;
    // Arguments arrive last first.
    switch (id) {
      case DISPID_NEWWINDOW2:
        NewWindow2(*params);
        break;
      case DISPID_DOCUMENTCOMPLETE:
        if (params->cArgs >= 2) events_->DocumentComplete(FromVariant(params->rgvarg[0]).ToText());
        break;
      case DISPID_ONQUIT:
        events_->OnQuit();
        break;
      default:
        break;
    }
  });
}

void BrowserEventSink::NewWindow2(DISPPARAMS& params) {
  if (params.cArgs < 2) return;
  VARIANT& cancel_arg = params.rgvarg[0];
  VARIANT& target_arg = params.rgvarg[1];
  if (cancel_arg.vt != (VT_BYREF | VT_BOOL) || target_arg.vt != (VT_BYREF | VT_DISPATCH)) return;
  Browser* target = nullptr;
  bool cancel = *cancel_arg.pboolVal != VARIANT_FALSE;
  events_->NewWindow2(target, cancel);
  *cancel_arg.pboolVal = cancel ? VARIANT_TRUE : VARIANT_FALSE;
  if (auto* browser = dynamic_cast<Win32Browser*>(target)) {
    // The argument lets go of what it held and takes a reference of its own to the browser.
    ComPtr<IDispatch> previous = ComPtr<IDispatch>::Adopt(*target_arg.ppdispVal);
    *target_arg.ppdispVal = ComPtr<IDispatch>::Share(browser->Dispatch()).Detach();
  }
}

}  // namespace windlock::win32
