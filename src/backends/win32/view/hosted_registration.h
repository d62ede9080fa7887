#pragma once

#include "backends/win32/view/hosted_controls.h"

namespace windlock::win32 {

// Registers a hosted control for as long as it lives.
class HostedRegistration {
 public:
  HostedRegistration(HostedControls& registry, const Control& holder, HostedControl& control)
      : registry_(registry), holder_(holder) {
    registry_.Add(holder_, control);
  }
  ~HostedRegistration() { registry_.Remove(holder_); }
  HostedRegistration(const HostedRegistration&) = delete;
  HostedRegistration& operator=(const HostedRegistration&) = delete;

 private:
  HostedControls& registry_;
  const Control& holder_;
};

}  // namespace windlock::win32
