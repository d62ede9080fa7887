#include "backends/win32/com/guarded_call.h"
#include "backends/win32/com/module.h"
#include "backends/win32/view/control_kinds.h"

namespace windlock::win32 {
namespace {

constexpr const wchar_t* kFrameClass = L"WindlockFrame";

// The controls inside a frame are the form's own: what they report goes on to the form's
// window, which answers for all of them.
LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  return GuardedMessage(
      [&] {
        switch (message) {
          case WM_COMMAND:
          case WM_NOTIFY:
          case WM_HSCROLL:
          case WM_CTLCOLORSTATIC:
            return SendMessageW(GetParent(window), message, wparam, lparam);
          default:
            return DefWindowProcW(window, message, wparam, lparam);
        }
      },
      0, AfterCall::kNothing);
}

}  // namespace

std::unique_ptr<ControlWindow> MakeFrameWindow(const ChildPlace& place) {
  RegisterModuleClass(kFrameClass, FrameProc, true);
  // Tab and the arrow keys go on into the controls inside.
  return std::make_unique<ControlWindow>(
      CreateChildWindow(kFrameClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, place));
}

}  // namespace windlock::win32
