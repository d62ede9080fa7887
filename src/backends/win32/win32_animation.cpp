#include "backends/win32/win32_animation.h"

// After windows.h, which it needs.
#include <commctrl.h>

#include "backends/win32/com/module.h"
#include "backends/win32/com/text.h"
#include "backends/win32/com/win32_error.h"
#include "backends/win32/view/activation_context.h"

namespace windlock::win32 {
namespace {

HWND NewAnimationWindow(HWND parent) {
  ModuleActivation activation;
  HWND window = CreateWindowExW(0, ANIMATE_CLASSW, L"", WS_CHILD | ACS_CENTER | ACS_TRANSPARENT, 0,
                                0, 0, 0, parent, nullptr, ModuleHandle(), nullptr);
  if (!window) throw ErrorFromWin32(GetLastError());
  return window;
}

}  // namespace

Win32Animation::Win32Animation(HostedControls& registry, const Control& holder)
    : window_(NewAnimationWindow(registry.parking())), registration_(registry, holder, *this) {}

Win32Animation::~Win32Animation() {
  DestroyWindow(window_);
}

void Win32Animation::Open(const std::string& path) {
  // The control says no more than that it failed (no last error): a clip it cannot read is one
  // that is not there for it.
  if (!SendMessageW(window_, ACM_OPENW, 0, reinterpret_cast<LPARAM>(Widen(path).c_str()))) {
    throw Error(kErrFileNotFound, "File not found: " + path);
  }
}

void Win32Animation::Play() {
  // Over and over, from the first frame to the last.
  if (!SendMessageW(window_, ACM_PLAY, static_cast<WPARAM>(-1), MAKELONG(0, 0xFFFF))) {
    throw Error(kErrInvalidProcedureCall, "Invalid procedure call or argument");
  }
}

void Win32Animation::Stop() {
  SendMessageW(window_, ACM_STOP, 0, 0);
}

void Win32Animation::Place(HWND parent, const RECT& rect) {
  if (GetParent(window_) != parent) ::SetParent(window_, parent);
  MoveWindow(window_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

void Win32Animation::Show(bool shown) {
  ShowWindow(window_, shown ? SW_SHOWNA : SW_HIDE);
  // Shown above the looks it covers while a transition runs.
  if (shown) SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace windlock::win32
