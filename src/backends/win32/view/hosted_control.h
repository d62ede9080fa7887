#pragma once

#include <windows.h>

#include <unordered_map>

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
  // Offers a key message meant for a window inside the control; true when the control used it.
  virtual bool TranslateAccelerator(MSG& /*message*/) { return false; }
};

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
