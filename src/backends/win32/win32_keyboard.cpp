#include "backends/win32/win32_keyboard.h"

#include <windows.h>

#include "backends/win32/com/win32_error.h"

namespace windlock::win32 {

void Win32Keyboard::GetKeyboardState(KeyTable& keys) {
  if (!::GetKeyboardState(keys.data())) throw ErrorFromWin32(GetLastError());
}

}  // namespace windlock::win32
