#pragma once

#include <oaidl.h>

#include "platform/browser.h"
#include "platform/win32/module.h"

namespace windlock::win32 {

// The DWebBrowserEvents2 dispatch interface a browser calls, handing the events the bar uses to
// the core's handlers.
class BrowserEventSink : public IDispatch {
 public:
  explicit BrowserEventSink(BrowserEvents* events) : events_(events) {}

  // After this, events are dropped: the core's handlers may already be gone.
  void Disconnect() { events_ = nullptr; }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO*, UINT*) override;

 protected:
  virtual ~BrowserEventSink() = default;

 private:
  void NewWindow2(DISPPARAMS& params);

  LONG references_ = 1;
  BrowserEvents* events_;
  ModuleReference module_;
};

}  // namespace windlock::win32
