// WindlockHost.exe [/bar] [URL]: a small browser window that loads the registered Windlock bar as
// a browser loads an Explorer Bar, for Windows versions whose own browser no longer does.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "browser_emulation.h"
#include "command_line.h"
#include "common/error.h"
#include "window_threads.h"

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

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show_command) {
  const std::vector<std::wstring> arguments = Arguments();
  const windlock::host::HostOptions options = windlock::host::ParseArguments(arguments);
  try {
    windlock::host::OptIntoNewestDocumentMode();
  } catch (const Error&) {
    // The pane still works, in the control's older default document mode.
  }
  // The process ends with its last window.
  windlock::host::WindowThreads windows;
  windows.Open(options, show_command);
  windows.WaitUntilAllClosed();
  return 0;
}
