#include "backends/win32/com/text.h"
#include "backends/win32/view/control_kinds.h"

namespace windlock::win32 {
namespace {

class TabStripWindow : public ControlWindow {
 public:
  using ControlWindow::ControlWindow;

  Action Notify(Control& control, NMHDR& notice) override {
    if (notice.code != TCN_SELCHANGE) return {};
    // The control counts its tabs from 1.
    int tab = static_cast<int>(SendMessageW(window(), TCM_GETCURSEL, 0, 0)) + 1;
    return [&control, tab] { control.Select(tab); };
  }

 private:
  void SyncState(Control& control, Dpi) override {
    if (control.lines != lines_) {
      SendMessageW(window(), TCM_DELETEALLITEMS, 0, 0);
      for (std::size_t index = 0; index < control.lines.size(); ++index) {
        std::wstring text = Widen(control.lines[index]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(window(), TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item));
      }
      lines_ = control.lines;
      value_ = -1;
    }
    if (control.value != value_) {
      SendMessageW(window(), TCM_SETCURSEL, static_cast<WPARAM>(control.value - 1), 0);
      value_ = control.value;
    }
  }

  std::vector<std::string> lines_;
  int value_ = -1;
};

}  // namespace

std::unique_ptr<ControlWindow> MakeTabStripWindow(const ChildPlace& place) {
  return std::make_unique<TabStripWindow>(CreateChildWindow(WC_TABCONTROLW, WS_TABSTOP, 0, place));
}

}  // namespace windlock::win32
