#include "backends/win32/view/control_kinds.h"

namespace windlock::win32 {
namespace {

// The form decides the state: a click reaches it, and the sync shows what it chose.
class CheckBoxWindow : public ControlWindow {
 public:
  using ControlWindow::ControlWindow;

 private:
  void SyncState(Control& control, Dpi) override {
    if (control.value == value_) return;
    SendMessageW(window(), BM_SETCHECK, control.checked() ? BST_CHECKED : BST_UNCHECKED, 0);
    value_ = control.value;
  }

  int value_ = -1;
};

}  // namespace

std::unique_ptr<ControlWindow> MakeCheckBoxWindow(const ChildPlace& place) {
  return std::make_unique<CheckBoxWindow>(
      CreateChildWindow(L"BUTTON", BS_CHECKBOX | WS_TABSTOP, 0, place));
}

}  // namespace windlock::win32
