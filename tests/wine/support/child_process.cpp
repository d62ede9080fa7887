#include "support/child_process.h"

#include <gtest/gtest.h>

#include "support/dll_under_test.h"
#include "support/messages.h"
#include "support/process.h"

namespace windlock_test {
namespace {

struct WindowSearch {
  DWORD process_id;
  const wchar_t* window_class;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM search_address) {
  auto& search = *reinterpret_cast<WindowSearch*>(search_address);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  if (owner != search.process_id || lstrcmpiW(name, search.window_class) != 0 ||
      !IsWindowVisible(window)) {
    return TRUE;
  }
  search.found = window;
  return FALSE;
}

}  // namespace

ChildProcess::ChildProcess(const std::wstring& command_line) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  std::wstring writable = command_line;
  if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process_)) {
    ADD_FAILURE() << "cannot start " << Narrow(command_line) << ", error " << GetLastError();
    process_ = {};
    return;
  }
  CloseHandle(process_.hThread);
  process_.hThread = nullptr;
}

ChildProcess::~ChildProcess() {
  if (!started()) return;
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, INFINITE);
  }
  CloseHandle(process_.hProcess);
}

DWORD ChildProcess::Wait(DWORD time_limit_ms) {
  if (!started()) return kNotStarted;
  const ULONGLONG deadline = GetTickCount64() + time_limit_ms;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return kTimedOut;
    DWORD wait = MsgWaitForMultipleObjects(1, &process_.hProcess, FALSE,
                                           static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    if (wait == WAIT_OBJECT_0) break;
    PumpMessages();
  }
  DWORD exit_code = 0;
  GetExitCodeProcess(process_.hProcess, &exit_code);
  return exit_code;
}

HWND WaitForWindow(DWORD process_id, const wchar_t* window_class, DWORD time_limit_ms) {
  const ULONGLONG deadline = GetTickCount64() + time_limit_ms;
  do {
    WindowSearch search = {process_id, window_class, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    DWORD_PTR answer = 0;
    if (search.found &&
        SendMessageTimeoutW(search.found, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer)) {
      return search.found;
    }
    PumpMessages();
    Sleep(50);
  } while (GetTickCount64() < deadline);
  return nullptr;
}

}  // namespace windlock_test
