#include "event_connection.h"

#include "backends/win32/com/win32_error.h"

namespace windlock::host {

using win32::ThrowIfFailed;

EventConnection::EventConnection(IUnknown* source, REFIID events, IUnknown* sink) {
  win32::ComPtr<IConnectionPointContainer> container;
  ThrowIfFailed(source->QueryInterface(IID_IConnectionPointContainer, container.PutVoid()));
  ThrowIfFailed(container->FindConnectionPoint(events, point_.Put()));
  ThrowIfFailed(point_->Advise(sink, &cookie_));
}

EventConnection::~EventConnection() {
  point_->Unadvise(cookie_);
}

}  // namespace windlock::host
