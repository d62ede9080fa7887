#include "backends/win32/view/control_kinds.h"

namespace windlock::win32 {
namespace {

class SliderWindow : public ControlWindow {
 public:
  using ControlWindow::ControlWindow;

  Action Scroll(Control& control) override {
    int position = static_cast<int>(SendMessageW(window(), TBM_GETPOS, 0, 0));
    if (position == control.value) return {};
    return [&control, position] { control.Slide(position); };
  }

 private:
  void SyncState(Control& control, Dpi) override {
    if (control.minimum != minimum_ || control.maximum != maximum_) {
      SendMessageW(window(), TBM_SETRANGEMIN, FALSE, control.minimum);
      SendMessageW(window(), TBM_SETRANGEMAX, TRUE, control.maximum);
      minimum_ = control.minimum;
      maximum_ = control.maximum;
    }
    if (control.value != value_) {
      SendMessageW(window(), TBM_SETPOS, TRUE, control.value);
      value_ = control.value;
    }
  }

  // An empty range, which no control has: the first sync sets the control's.
  int minimum_ = 0;
  int maximum_ = -1;
  int value_ = -1;
};

}  // namespace

std::unique_ptr<ControlWindow> MakeSliderWindow(const ChildPlace& place) {
  return std::make_unique<SliderWindow>(
      CreateChildWindow(TRACKBAR_CLASSW, TBS_HORZ | TBS_NOTICKS | WS_TABSTOP, 0, place));
}

}  // namespace windlock::win32
