#include "backends/win32/com/text.h"
#include "backends/win32/view/control_kinds.h"

namespace windlock::win32 {
namespace {

std::string WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

class TextBoxWindow : public ControlWindow {
 public:
  using ControlWindow::ControlWindow;

  Action Command(Control& control, WORD code) override {
    switch (code) {
      case EN_CHANGE: {
        std::string typed = WindowText(window());
        if (typed == control.text) return {};
        text_ = typed;
        return [&control, typed = std::move(typed)] { control.Type(typed); };
      }
      case EN_KILLFOCUS:
        return [&control] { control.Leave(); };
      default:
        return ControlWindow::Command(control, code);
    }
  }

 private:
  void SyncState(Control& control, Dpi) override {
    if (control.text == text_) return;
    text_ = control.text;
    SetWindowTextW(window(), Widen(control.text).c_str());
  }
  bool ShowsCaption() const override { return false; }

  std::string text_;
};

}  // namespace

std::unique_ptr<ControlWindow> MakeTextBoxWindow(const ChildPlace& place) {
  return std::make_unique<TextBoxWindow>(
      CreateChildWindow(L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, place));
}

}  // namespace windlock::win32
