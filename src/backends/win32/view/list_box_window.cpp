#include "backends/win32/com/text.h"
#include "backends/win32/view/control_kinds.h"

namespace windlock::win32 {
namespace {

class ListBoxWindow : public ControlWindow {
 public:
  using ControlWindow::ControlWindow;

  Action Command(Control& control, WORD code) override {
    if (code != LBN_SELCHANGE) return ControlWindow::Command(control, code);
    int index = static_cast<int>(SendMessageW(window(), LB_GETCURSEL, 0, 0));
    index_ = index;
    return [&control, index] { control.Select(index); };
  }

 private:
  void SyncState(Control& control, Dpi) override {
    if (control.lines != lines_) {
      SendMessageW(window(), LB_RESETCONTENT, 0, 0);
      for (const std::string& line : control.lines) {
        SendMessageW(window(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(line).c_str()));
      }
      lines_ = control.lines;
      index_ = kNone;
    }
    if (control.list_index != index_) {
      SendMessageW(window(), LB_SETCURSEL, static_cast<WPARAM>(control.list_index), 0);
      index_ = control.list_index;
    }
  }

  // Not a position, nor the -1 of no selection: set anew whatever the control says.
  static constexpr int kNone = -2;
  std::vector<std::string> lines_;
  int index_ = kNone;
};

}  // namespace

std::unique_ptr<ControlWindow> MakeListBoxWindow(const ChildPlace& place) {
  return std::make_unique<ListBoxWindow>(
      CreateChildWindow(L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                        WS_EX_CLIENTEDGE, place));
}

}  // namespace windlock::win32
