#pragma once

#include <exdisp.h>
#include <oaidl.h>

#include "backends/win32/com/com_object.h"
#include "platform/browser.h"

namespace windlock::win32 {

// The DWebBrowserEvents2 dispatch interface a browser calls, handing the events the bar uses to
// the core's handlers.
class BrowserEventSink
    : public ComObject<BrowserEventSink, Implements<IDispatch, DWebBrowserEvents2>> {
 public:
  explicit BrowserEventSink(BrowserEvents* events) : events_(events) {}

  // After this, events are dropped: the core's handlers may already be gone.
  void Disconnect() { events_ = nullptr; }

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO*, UINT*) noexcept override;

 protected:
  ~BrowserEventSink() override = default;

 private:
  // What hands an event to the core; none for the events the bar has no handler for.
  using Handler = void (BrowserEventSink::*)(DISPPARAMS&);
  static Handler HandlerFor(DISPID id);

  void NewWindow2(DISPPARAMS& params);
  void BeforeNavigate2(DISPPARAMS& params);
  void DocumentComplete(DISPPARAMS& params);
  void TitleChange(DISPPARAMS& params);
  void WindowClosing(DISPPARAMS& params);
  void WindowSetPosition(DISPPARAMS& params);
  void OnQuit(DISPPARAMS& params);

  BrowserEvents* events_;
};

}  // namespace windlock::win32
