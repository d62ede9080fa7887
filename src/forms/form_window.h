#pragma once

#include <utility>

#include "common/error.h"
#include "platform/window_system.h"

namespace windlock {

// A form's own window, destroyed when this goes unless the form destroyed it before: a form
// whose construction fails once its window exists leaves no window behind that shows a form
// which is gone.
class FormWindow {
 public:
  FormWindow(WindowSystem& windows, Form& form)
      : windows_(windows), handle_(windows.CreateFormWindow(form)) {}
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;
  ~FormWindow() {
    try {
      Destroy();
    } catch (const Error&) {
      // Already gone with its parent: nothing is left to destroy.
    }
  }

  WindowHandle get() const { return handle_; }
  void Destroy() {
    if (handle_) windows_.DestroyWindow(std::exchange(handle_, 0));
  }

 private:
  WindowSystem& windows_;
  WindowHandle handle_;
};

}  // namespace windlock
