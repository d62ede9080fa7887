#pragma once

#include <windows.h>

namespace windlock {
class Control;
}

namespace windlock::win32 {

// A platform control the factory made for one of a form's controls (a browser pane, the loading
// clip). It waits in a hidden window until the form's window places it where its form control
// lies.
class HostedControl {
 public:
  virtual ~HostedControl() = default;
  // Moves the control into `parent` at `rect`, in the parent's client coordinates.
  virtual void Place(HWND parent, const RECT& rect) = 0;
  virtual void Show(bool shown) = 0;
  // The control's own window, the one that stands for it to screen readers.
  virtual HWND window() const = 0;
  // Offers a key message meant for a window inside the control; true when the control used it.
  virtual bool TranslateAccelerator(MSG& /*message*/) { return false; }
};

}  // namespace windlock::win32
