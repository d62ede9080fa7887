#include "backends/win32/win32_menus.h"

#include <windows.h>

#include "backends/win32/com/text.h"
#include "backends/win32/com/win32_error.h"

namespace windlock::win32 {
namespace {

HMENU Hmenu(MenuHandle menu) {
  return reinterpret_cast<HMENU>(menu);
}

}  // namespace

MenuHandle Win32Menus::CreatePopupMenu() {
  HMENU menu = ::CreatePopupMenu();
  if (!menu) throw ErrorFromWin32(GetLastError());
  return reinterpret_cast<MenuHandle>(menu);
}

void Win32Menus::InsertItem(MenuHandle menu, uint32_t position, uint32_t flags, uintptr_t item,
                            const std::string& caption) {
  std::wstring text = Widen(caption);
  const wchar_t* label = (flags & MF_SEPARATOR) ? nullptr : text.c_str();
  if (!InsertMenuW(Hmenu(menu), position, flags, item, label)) {
    throw ErrorFromWin32(GetLastError());
  }
}

std::optional<uint32_t> Win32Menus::TrackPopupMenu(MenuHandle menu, WindowHandle owner) {
  POINT at{};
  GetCursorPos(&at);
  BOOL chosen = ::TrackPopupMenu(Hmenu(menu), TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0,
                                 reinterpret_cast<HWND>(owner), nullptr);
  if (chosen == 0) return std::nullopt;
  return static_cast<uint32_t>(chosen);
}

void Win32Menus::DestroyMenu(MenuHandle menu) {
  ::DestroyMenu(Hmenu(menu));
}

}  // namespace windlock::win32
