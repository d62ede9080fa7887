#include "platform/win32/win32_ui.h"

#include <windows.h>

#include <cstring>

#include "common/form.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_devices.h"
#include "platform/win32/win32_error.h"

namespace windlock::win32 {
namespace {

// The title of a message box that has none of its own.
constexpr const char* kApplicationTitle = "Windlock";

}  // namespace

void Win32Ui::RunModal(Form& form) {
  ThrowNotAvailable("The window " + form.name());
}

int Win32Ui::ShowMessageBox(const std::string& text, const std::optional<std::string>& title,
                            unsigned style) {
  return MessageBoxW(nullptr, Widen(text).c_str(), Widen(title.value_or(kApplicationTitle)).c_str(),
                     style | MB_TASKMODAL);
}

ScreenSize Win32Ui::Screen() {
  HDC screen = GetDC(nullptr);
  float twips_x = 1440.0f / static_cast<float>(GetDeviceCaps(screen, LOGPIXELSX));
  float twips_y = 1440.0f / static_cast<float>(GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
  return {static_cast<float>(GetSystemMetrics(SM_CXSCREEN)) * twips_x,
          static_cast<float>(GetSystemMetrics(SM_CYSCREEN)) * twips_y};
}

void Win32Ui::SetClipboardText(const std::string& text) {
  std::wstring wide = Widen(text);
  if (!OpenClipboard(nullptr)) throw ErrorFromWin32(GetLastError());
  EmptyClipboard();
  std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (memory) {
    std::memcpy(GlobalLock(memory), wide.c_str(), bytes);
    GlobalUnlock(memory);
    // The clipboard owns the memory once it has taken it.
    if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
  }
  CloseClipboard();
}

}  // namespace windlock::win32
