#pragma once

#include <windows.h>

#include <unordered_map>

#include "backends/win32/view/hosted_control.h"

namespace windlock::win32 {

// One thread's hosted controls by the form control each shows in, and the hidden window they
// wait in before a form's window takes them and after it is gone.
class HostedControls {
 public:
  HostedControls() = default;
  ~HostedControls();
  HostedControls(const HostedControls&) = delete;
  HostedControls& operator=(const HostedControls&) = delete;

  // The waiting window, made on first use.
  HWND parking();
  void Add(const Control& holder, HostedControl& control) { controls_[&holder] = &control; }
  void Remove(const Control& holder) { controls_.erase(&holder); }
  HostedControl* Find(const Control& holder) const;
  // Offers a key message to the control it is meant for; true when that control used it.
  bool TranslateAccelerator(MSG& message) const;

 private:
  HWND parking_ = nullptr;
  std::unordered_map<const Control*, HostedControl*> controls_;
};

}  // namespace windlock::win32
