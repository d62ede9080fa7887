#include "support/messages.h"

#include <windows.h>

namespace windlock_test {

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    // The thread's own loop ends on it, as it does after a modal loop (a window that closed
    // while the test pumped inside the loop of its thread).
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void HoldShift(bool held) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = held ? 0x80 : 0;
  SetKeyboardState(keys);
}

}  // namespace windlock_test
