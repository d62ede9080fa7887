#pragma once

#include <windows.h>

#include <ocidl.h>

#include <map>

#include "backends/win32/com/com_object.h"

namespace windlock::host {

// The host browser's DWebBrowserEvents2 connection point: the bar advises here, and the host
// hands on each event its pane's control fires, before it acts on the event itself, so that the
// bar judges a new window before the host opens one.
class EventRelay final : public win32::ComObject<EventRelay, IConnectionPoint> {
 public:
  explicit EventRelay(IConnectionPointContainer* container) : container_(container) {}

  // Invokes every advised sink with the event, in the order they were advised.
  void Fire(DISPID id, DISPPARAMS& params);
  // The browser goes: the sinks are let go of, and the container is no longer named.
  void Close() noexcept;

  // IConnectionPoint
  STDMETHODIMP GetConnectionInterface(IID* iid) noexcept override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) noexcept override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) noexcept override;
  STDMETHODIMP Unadvise(DWORD cookie) noexcept override;
  STDMETHODIMP EnumConnections(IEnumConnections** connections) noexcept override;

 private:
  ~EventRelay() override = default;

  // Not counted: the container owns this point.
  IConnectionPointContainer* container_;
  std::map<DWORD, win32::ComPtr<IDispatch>> sinks_;
  DWORD next_cookie_ = 1;
};

}  // namespace windlock::host
