#include "backends/win32/browser/browser_event_sink.h"

#include <exdispid.h>

#include "backends/win32/browser/win32_browser.h"
#include "backends/win32/com/guarded_call.h"
#include "backends/win32/com/no_type_info.h"
#include "backends/win32/com/text.h"
#include "backends/win32/com/variant_conversion.h"
#include "backends/win32/com/win32_error.h"

namespace windlock::win32 {
namespace {

// Runs a handler that may cancel the event through its by-reference Cancel argument. An event
// whose Cancel is not one cannot be judged: it fails, as the browser's own events never do.
template <class Handler>
void WithCancel(VARIANT& argument, Handler handler) {
  if (argument.vt != (VT_BYREF | VT_BOOL) || !argument.pboolVal) {
    throw ErrorFromHresult(DISP_E_TYPEMISMATCH);
  }
  bool cancel = *argument.pboolVal != VARIANT_FALSE;
  handler(cancel);
  *argument.pboolVal = cancel ? VARIANT_TRUE : VARIANT_FALSE;
}

}  // namespace

STDMETHODIMP BrowserEventSink::GetTypeInfoCount(UINT* count) noexcept {
  return NoTypeInfoCount(count);
}

STDMETHODIMP BrowserEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept {
  return NoTypeInfo(info);
}

STDMETHODIMP BrowserEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept {
  return GuardedCall([] { return E_NOTIMPL; }, AfterCall::kNothing);
}

STDMETHODIMP BrowserEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                      EXCEPINFO*, UINT*) noexcept {
  // A navigation fires many events the bar has no handler for (progress, status texts, command
  // states); they change no form, so the form windows need not be brought up to date after them.
  const Handler handler = HandlerFor(id);
  if (!handler) return GuardedCall([] {}, AfterCall::kNothing);
  return GuardedCall([&] {
    if (events_ && params) (this->*handler)(*params);
  });
}

BrowserEventSink::Handler BrowserEventSink::HandlerFor(DISPID id) {
  switch (id) {
    case DISPID_NEWWINDOW2:
      return &BrowserEventSink::NewWindow2;
    case DISPID_BEFORENAVIGATE2:
      return &BrowserEventSink::BeforeNavigate2;
    case DISPID_DOCUMENTCOMPLETE:
      return &BrowserEventSink::DocumentComplete;
    case DISPID_TITLECHANGE:
      return &BrowserEventSink::TitleChange;
    case DISPID_WINDOWCLOSING:
      return &BrowserEventSink::WindowClosing;
    case DISPID_WINDOWSETLEFT:
    case DISPID_WINDOWSETTOP:
    case DISPID_WINDOWSETWIDTH:
    case DISPID_WINDOWSETHEIGHT:
      return &BrowserEventSink::WindowSetPosition;
    case DISPID_ONQUIT:
      return &BrowserEventSink::OnQuit;
    default:
      return nullptr;
  }
}

// Arguments arrive last first.
void BrowserEventSink::NewWindow2(DISPPARAMS& params) {
  if (params.cArgs < 2) throw ErrorFromHresult(DISP_E_BADPARAMCOUNT);
  VARIANT& target_arg = params.rgvarg[1];
  const bool can_hand_back = target_arg.vt == (VT_BYREF | VT_DISPATCH) && target_arg.ppdispVal;
  Win32Browser* browser = nullptr;
  WithCancel(params.rgvarg[0], [&](bool& cancel) {
    Browser* target = nullptr;
    events_->NewWindow2(target, cancel);
    browser = dynamic_cast<Win32Browser*>(target);
    // A window the bar takes but cannot be handed is blocked, never opened uncaptured.
    if (target && !(browser && can_hand_back)) cancel = true;
  });
  if (browser && can_hand_back) {
    // The argument lets go of what it held and takes a reference of its own to the browser.
    ComPtr<IDispatch> previous = ComPtr<IDispatch>::Adopt(*target_arg.ppdispVal);
    *target_arg.ppdispVal = ComPtr<IDispatch>::Share(browser->Dispatch()).Detach();
  }
}

void BrowserEventSink::BeforeNavigate2(DISPPARAMS& params) {
  if (params.cArgs < 7) return;
  const VARIANT* arg = params.rgvarg;
  const NavigateRequest request{FromVariant(arg[5]), FromVariant(arg[4]), FromVariant(arg[3]),
                                FromVariant(arg[2]), FromVariant(arg[1])};
  WithCancel(params.rgvarg[0], [&](bool& cancel) { events_->BeforeNavigate2(request, cancel); });
}

void BrowserEventSink::DocumentComplete(DISPPARAMS& params) {
  if (params.cArgs >= 2) events_->DocumentComplete(FromVariant(params.rgvarg[0]).ToText());
}

void BrowserEventSink::TitleChange(DISPPARAMS& params) {
  if (params.cArgs >= 1) events_->TitleChange(FromVariant(params.rgvarg[0]).ToText());
}

void BrowserEventSink::WindowSetPosition(DISPPARAMS&) {
  events_->WindowSetPosition();
}

void BrowserEventSink::OnQuit(DISPPARAMS&) {
  events_->OnQuit();
}

void BrowserEventSink::WindowClosing(DISPPARAMS& params) {
  if (params.cArgs < 2 || params.rgvarg[1].vt != VT_BOOL) return;
  const bool is_child_window = params.rgvarg[1].boolVal != VARIANT_FALSE;
  WithCancel(params.rgvarg[0],
             [&](bool& cancel) { events_->WindowClosing(is_child_window, cancel); });
}

}  // namespace windlock::win32
