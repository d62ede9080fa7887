#include "backends/win32/win32_help.h"

#include <windows.h>

#include <string>

#include "backends/win32/com/text.h"
#include "backends/win32/com/win32_error.h"

namespace windlock::win32 {
namespace {

using HtmlHelpFunction = HWND(WINAPI*)(HWND caller, const wchar_t* file, UINT command,
                                       DWORD_PTR data);

HtmlHelpFunction LoadHtmlHelp() {
  HMODULE viewer = LoadLibraryW(L"hhctrl.ocx");
  if (!viewer) throw ErrorFromWin32(GetLastError());
  auto function = reinterpret_cast<HtmlHelpFunction>(
      reinterpret_cast<void (*)()>(GetProcAddress(viewer, "HtmlHelpW")));
  if (!function) throw ErrorFromWin32(GetLastError());
  return function;
}

HtmlHelpFunction LoadedHtmlHelp() {
  static HtmlHelpFunction function = LoadHtmlHelp();
  return function;
}

}  // namespace

void Win32Help::HtmlHelp(const std::string& target, uint32_t command, uint32_t data) {
  std::wstring file = Widen(target);
  // Commands for every window (closing them all) name no file. What the viewer returns is left
  // alone: it tells the user itself about a file it cannot open, and a second message from the
  // bar would only repeat it.
  LoadedHtmlHelp()(nullptr, file.empty() ? nullptr : file.c_str(), command, data);
}

}  // namespace windlock::win32
