#pragma once

#include <windows.h>

#include <ocidl.h>

#include "backends/win32/com/com_ptr.h"

namespace windlock::host {

// A sink advised to one connection point of an object, unadvised when this goes.
class EventConnection {
 public:
  // Throws Error when the object has no such connection point or refuses the sink.
  EventConnection(IUnknown* source, REFIID events, IUnknown* sink);
  ~EventConnection();
  EventConnection(const EventConnection&) = delete;
  EventConnection& operator=(const EventConnection&) = delete;

 private:
  win32::ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
};

}  // namespace windlock::host
