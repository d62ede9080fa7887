#include "browser_events.h"

#include <exdispid.h>

#include <utility>

#include "backends/win32/com/no_type_info.h"
#include "backends/win32/com/text.h"
#include "backends/win32/com/variant_conversion.h"

namespace windlock::host {
namespace {

using win32::AfterCall;
using win32::ComPtr;
using win32::GuardedCall;

IUnknown* IdentityOf(IUnknown* object) {
  ComPtr<IUnknown> identity;
  if (!object || FAILED(object->QueryInterface(IID_IUnknown, identity.PutVoid()))) return nullptr;
  return identity.get();
}

// Arguments arrive last first: `index` counts from the last one.
const VARIANT* Argument(const DISPPARAMS& params, UINT index) {
  return index < params.cArgs ? &params.rgvarg[index] : nullptr;
}

std::wstring TextOf(const VARIANT* argument) {
  return argument ? win32::Widen(win32::FromVariant(*argument).ToText()) : std::wstring();
}

long NumberOf(const VARIANT* argument) {
  if (!argument) return 0;
  win32::OwnedVariant number;
  if (FAILED(VariantChangeType(number.get(), const_cast<VARIANT*>(argument), 0, VT_I4))) return 0;
  return number.get()->lVal;
}

}  // namespace

BrowserEvents::BrowserEvents(IWebBrowser2* browser, win32::ComPtr<HostBrowser> relay,
                             BrowserListener* listener)
    : top_level_(IdentityOf(browser)), relay_(std::move(relay)), listener_(listener) {}

bool BrowserEvents::IsTopLevel(const VARIANT& browser) const {
  IUnknown* object = browser.vt == VT_DISPATCH ? browser.pdispVal : nullptr;
  return object && IdentityOf(object) == top_level_;
}

STDMETHODIMP BrowserEvents::GetTypeInfoCount(UINT* count) noexcept {
  return win32::NoTypeInfoCount(count);
}

STDMETHODIMP BrowserEvents::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept {
  return win32::NoTypeInfo(info);
}

STDMETHODIMP BrowserEvents::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept {
  return GuardedCall([] { return E_NOTIMPL; }, AfterCall::kNothing);
}

STDMETHODIMP BrowserEvents::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                   EXCEPINFO*, UINT*) noexcept {
  return GuardedCall(
      [&] {
        if (!listener_ || !params) return;
        // Kept: the bar may close this window's browser while it handles the event.
        if (win32::ComPtr<HostBrowser> relay = relay_) relay->Fire(id, *params);
        if (!listener_) return;
        DISPPARAMS& args = *params;
        switch (id) {
          case DISPID_STATUSTEXTCHANGE:
            listener_->StatusTextChanged(TextOf(Argument(args, 0)));
            break;
          case DISPID_TITLECHANGE:
            listener_->TitleChanged(TextOf(Argument(args, 0)));
            break;
          case DISPID_BEFORENAVIGATE2:
            if (args.cArgs == 7 && IsTopLevel(args.rgvarg[6]))
              listener_->Navigating(TextOf(Argument(args, 5)));
            break;
          case DISPID_NAVIGATECOMPLETE2:
            if (args.cArgs == 2 && IsTopLevel(args.rgvarg[1]))
              listener_->Navigated(TextOf(Argument(args, 0)));
            break;
          case DISPID_NAVIGATEERROR:
            if (args.cArgs == 5 && IsTopLevel(args.rgvarg[4]))
              listener_->NavigationFailed(TextOf(Argument(args, 3)), NumberOf(Argument(args, 1)));
            break;
          case DISPID_COMMANDSTATECHANGE:
            if (args.cArgs == 2)
              listener_->CommandStateChanged(NumberOf(Argument(args, 1)),
                                             NumberOf(Argument(args, 0)) != 0);
            break;
          case DISPID_NEWWINDOW2:
            NewWindow2(args);
            break;
          case DISPID_WINDOWSETLEFT:
          case DISPID_WINDOWSETTOP:
          case DISPID_WINDOWSETWIDTH:
          case DISPID_WINDOWSETHEIGHT:
            if (args.cArgs == 1) listener_->PlaceAsked(id, NumberOf(Argument(args, 0)));
            break;
          case DISPID_WINDOWSETRESIZABLE:
          case DISPID_ONTOOLBAR:
          case DISPID_ONSTATUSBAR:
            if (args.cArgs == 1) listener_->FeatureAsked(id, NumberOf(Argument(args, 0)) != 0);
            break;
          case DISPID_WINDOWCLOSING:
            WindowClosing(args);
            break;
          default:
            break;
        }
      },
      AfterCall::kNothing);
}

// After the bar: a window it captured has its browser, one it blocked is cancelled; what is left
// opens in a host window of its own.
void BrowserEvents::NewWindow2(DISPPARAMS& args) {
  if (args.cArgs != 2) return;
  VARIANT& cancel = args.rgvarg[0];
  VARIANT& target = args.rgvarg[1];
  if (cancel.vt != (VT_BYREF | VT_BOOL) || !cancel.pboolVal ||
      target.vt != (VT_BYREF | VT_DISPATCH) || !target.ppdispVal) {
    return;
  }
  if (*cancel.pboolVal != VARIANT_FALSE || *target.ppdispVal) return;
  if (win32::ComPtr<IDispatch> opened = listener_->NewWindowAsked()) {
    *target.ppdispVal = opened.Detach();
  }
}

void BrowserEvents::WindowClosing(const DISPPARAMS& args) {
  if (args.cArgs != 2) return;
  const VARIANT& cancel = args.rgvarg[0];
  const bool cancelled =
      cancel.vt == (VT_BYREF | VT_BOOL) && cancel.pboolVal && *cancel.pboolVal != VARIANT_FALSE;
  // A frame's script cannot close the window it is in.
  if (!cancelled && NumberOf(Argument(args, 1)) == 0) listener_->ClosingAsked();
}

}  // namespace windlock::host
