#include "browser_emulation.h"

#include <windows.h>

#include "backends/win32/com/module.h"
#include "backends/win32/com/win32_error.h"

namespace windlock::host {

std::wstring ProgramFileName() {
  // The backend is linked into this program, so its module is the executable.
  std::wstring path = win32::ModulePath();
  std::size_t separator = path.find_last_of(L"\\/");
  return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

void OptIntoNewestDocumentMode() {
  const std::wstring name = ProgramFileName();
  HKEY key = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, kBrowserEmulationKey, 0, nullptr, 0,
                                   KEY_SET_VALUE, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) throw win32::ErrorFromWin32(static_cast<DWORD>(status));
  const DWORD mode = kNewestDocumentMode;
  status = RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mode),
                          sizeof(mode));
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) throw win32::ErrorFromWin32(static_cast<DWORD>(status));
}

}  // namespace windlock::host
