#include "backends/win32/win32_programs.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdint>

#include "backends/win32/com/text.h"
#include "backends/win32/com/win32_error.h"

namespace windlock::win32 {

void Win32Programs::Start(const std::string& path) {
  std::wstring wide = Widen(path);
  auto result = reinterpret_cast<intptr_t>(
      ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  // Up to 32 is a failure code, most of them the system's own error numbers.
  if (result <= 32) {
    throw ErrorFromWin32(result == 0 ? ERROR_NOT_ENOUGH_MEMORY : static_cast<DWORD>(result));
  }
}

}  // namespace windlock::win32
