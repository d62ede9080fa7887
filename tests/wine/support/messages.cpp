#include "support/messages.h"

#include <windows.h>

namespace windlock_test {

namespace {

// Longer than the bar holds a burst of changes back (a screen frame), with room for a busy
// machine; and at most this long in all, since some window's timer may always be due.
constexpr DWORD kQuietSpell = 50;
constexpr DWORD kLongestPump = 500;

// False when the thread's loop is to end.
bool HandleWaiting() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    // The thread's own loop ends on it, as it does after a modal loop (a window that closed
    // while the test pumped inside the loop of its thread).
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

}  // namespace

void PumpMessages() {
  const DWORD start = GetTickCount();
  while (HandleWaiting() && GetTickCount() - start < kLongestPump &&
         MsgWaitForMultipleObjects(0, nullptr, FALSE, kQuietSpell, QS_ALLINPUT) != WAIT_TIMEOUT) {
  }
}

void HoldShift(bool held) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = held ? 0x80 : 0;
  SetKeyboardState(keys);
}

}  // namespace windlock_test
