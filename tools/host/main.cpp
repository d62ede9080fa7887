// WindlockHost.exe [/bar] [URL]: a small browser window that loads the registered Windlock bar as
// a browser loads an Explorer Bar, for Windows versions whose own browser no longer does.
#include <windows.h>

#include <ole2.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "backends/win32/com/text.h"
#include "backends/win32/view/common_controls.h"
#include "browser_emulation.h"
#include "command_line.h"
#include "host_window.h"

namespace {

using windlock::Error;

std::vector<std::wstring> Arguments() {
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> arguments;
  // The first word is the program itself.
  for (int i = 1; words && i < count; ++i) arguments.emplace_back(words[i]);
  LocalFree(words);
  return arguments;
}

int RunHost(const windlock::host::HostOptions& options, int show_command) {
  windlock::win32::InitCommonControlsOnce();
  windlock::host::HostWindow host(options, show_command);
  MSG message = {};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (host.PreTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show_command) {
  const std::vector<std::wstring> arguments = Arguments();
  const windlock::host::HostOptions options = windlock::host::ParseArguments(arguments);
  try {
    windlock::host::OptIntoNewestDocumentMode();
  } catch (const Error&) {
    // The pane still works, in the control's older default document mode.
  }
  if (FAILED(OleInitialize(nullptr))) return 1;
  int exit_code = 1;
  try {
    exit_code = RunHost(options, show_command);
  } catch (const Error& error) {
    std::wstring text =
        L"Windlock Host cannot start: " + windlock::win32::Widen(error.description());
    MessageBoxW(nullptr, text.c_str(), L"Windlock Host", MB_OK | MB_ICONERROR);
  }
  OleUninitialize();
  return exit_code;
}
