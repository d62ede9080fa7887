#include "platform/win32/browser_event_sink.h"

#include <exdisp.h>
#include <exdispid.h>

#include "platform/win32/text.h"
#include "platform/win32/variant_conversion.h"
#include "platform/win32/win32_browser.h"

namespace windlock::win32 {

STDMETHODIMP BrowserEventSink::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) BrowserEventSink::AddRef() {
  return InterlockedIncrement(&references_);
}

STDMETHODIMP_(ULONG) BrowserEventSink::Release() {
  ULONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP BrowserEventSink::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP BrowserEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP BrowserEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}

STDMETHODIMP BrowserEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                      EXCEPINFO*, UINT*) {
  if (!events_ || !params) return S_OK;
  // Arguments arrive last first; nothing the core raises may cross back into the browser.
  try {
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
  } catch (...) {
  }
  return S_OK;
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
    IDispatch* dispatch = browser->Dispatch();
    if (dispatch) dispatch->AddRef();
    if (*target_arg.ppdispVal) (*target_arg.ppdispVal)->Release();
    *target_arg.ppdispVal = dispatch;
  }
}

}  // namespace windlock::win32
