#include "event_relay.h"

#include <exdisp.h>

namespace windlock::host {
namespace {

using win32::AfterCall;
using win32::GuardedCall;

// olectl.h's connection point errors, which MinGW-w64's headers lack.
constexpr HRESULT kNoConnection = static_cast<HRESULT>(0x80040200);
constexpr HRESULT kCannotConnect = static_cast<HRESULT>(0x80040202);

}  // namespace

void EventRelay::Fire(DISPID id, DISPPARAMS& params) {
  // A copy: a sink may unadvise, or advise another, while it handles the event.
  const std::map<DWORD, win32::ComPtr<IDispatch>> sinks = sinks_;
  for (const auto& [cookie, sink] : sinks) {
    sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                 nullptr);
  }
}

void EventRelay::Close() noexcept {
  container_ = nullptr;
  std::map<DWORD, win32::ComPtr<IDispatch>> sinks;
  sinks.swap(sinks_);
}

STDMETHODIMP EventRelay::GetConnectionInterface(IID* iid) noexcept {
  return GuardedCall(
      [&] {
        if (!iid) return E_POINTER;
        *iid = DIID_DWebBrowserEvents2;
        return S_OK;
      },
      AfterCall::kNothing);
}

STDMETHODIMP EventRelay::GetConnectionPointContainer(
    IConnectionPointContainer** container) noexcept {
  return GuardedCall(
      [&] {
        if (!container) return E_POINTER;
        *container = container_;
        if (!container_) return E_UNEXPECTED;
        container_->AddRef();
        return S_OK;
      },
      AfterCall::kNothing);
}

STDMETHODIMP EventRelay::Advise(IUnknown* sink, DWORD* cookie) noexcept {
  return GuardedCall(
      [&] {
        if (!cookie) return E_POINTER;
        *cookie = 0;
        if (!sink || !container_) return kCannotConnect;
        win32::ComPtr<IDispatch> events;
        if (FAILED(sink->QueryInterface(DIID_DWebBrowserEvents2, events.PutVoid())) &&
            FAILED(sink->QueryInterface(IID_IDispatch, events.PutVoid()))) {
          return kCannotConnect;
        }
        sinks_[next_cookie_] = std::move(events);
        *cookie = next_cookie_++;
        return S_OK;
      },
      AfterCall::kNothing);
}

STDMETHODIMP EventRelay::Unadvise(DWORD cookie) noexcept {
  return GuardedCall(
      [&] {
        auto found = sinks_.find(cookie);
        if (found == sinks_.end()) return kNoConnection;
        // Released after the map no longer holds it: its Release may call back.
        win32::ComPtr<IDispatch> sink = std::move(found->second);
        sinks_.erase(found);
        return S_OK;
      },
      AfterCall::kNothing);
}

STDMETHODIMP EventRelay::EnumConnections(IEnumConnections** connections) noexcept {
  return GuardedCall(
      [&] {
        if (connections) *connections = nullptr;
        return E_NOTIMPL;
      },
      AfterCall::kNothing);
}

}  // namespace windlock::host
