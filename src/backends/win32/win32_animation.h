#pragma once

#include <windows.h>

#include "backends/win32/view/hosted_registration.h"
#include "platform/animation.h"

namespace windlock::win32 {

// The loading clip Animation1: comctl32's animation control, placed where the form's control
// lies.
class Win32Animation : public Animation, public HostedControl {
 public:
  Win32Animation(HostedControls& registry, const Control& holder);
  ~Win32Animation() override;
  Win32Animation(const Win32Animation&) = delete;
  Win32Animation& operator=(const Win32Animation&) = delete;

  void Open(const std::string& path) override;
  void Play() override;
  void Stop() override;
  void Place(HWND parent, const RECT& rect) override;
  void Show(bool shown) override;

  HWND window() const override { return window_; }

 private:
  HWND window_;
  HostedRegistration registration_;
};

}  // namespace windlock::win32
